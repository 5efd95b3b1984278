#include "options.h"

#include "command_runner.h"
#include "contacts_csv.h"
#include "date_text.h"
#include "host_error.h"
#include "state_lock.h"

namespace vemora::standin {

std::string usageText() {
    return std::string(R"(Usage: vemora-host [OPTION]... [SCRIPT]...

A stand-in for the instant messenger that hosts the Vemora plugin. It loads the
real plugin library, speaks the host's side of the protocol through the
library's IMessageProc, keeps the host's tables (settings and contacts) in a
state file between runs, and shows what the plugin makes the host do: the
notifier's popup, the information box, chat messages, its settings page.

Commands come from each SCRIPT file in turn ("-" is standard input) and from
-e options, in the order given; with neither, from standard input (typed at a
terminal: with a prompt, and a failed command does not end the session).

Options:
  --state FILE     the state file (default: )") +
           DEFAULT_STATE_FILE + R"( in the current
                   directory). It is read at the start and written only when
                   the run changed the tables and succeeded, so a run that
                   only reads needs no write permission. A symbolic link is
                   followed; the file keeps its permissions and is replaced
                   in one step (written beside it, then renamed), so it holds
                   the old tables or the new. It ends with a line that counts
                   its lines and holds their checksum: a file damaged, cut
                   short or of another version is refused and never
                   overwritten (blank lines after it are forgiven). A file
                   edited by hand is refused too, naming --accept-edits.
                   One run at a time uses a state file: a run holds FILE.lock
                   beside it (which stays there) until it ends, and another
                   run waits up to )" + std::to_string(STATE_LOCK_PATIENCE.count()) + R"( seconds for it, then fails, naming the
                   process that holds it and changing nothing.
  --accept-edits   after a hand edit of the state file: read it line by line,
                   name the first line that does not read, or else seal it
                   again with a fresh closing line, the edit kept as typed.
                   A file cut short is never accepted. Runs no commands.
  --today DATE     run as if today were DATE (YYYY-MM-DD, 1970-01-01 to
                   2100-12-31): the plugin's clock says local noon of that
                   day. The plugin is not changed.
  --trace          print every record that crosses the boundary, in order,
                   decoded by name and field, with its bytes in hex
                   ("→" host to plugin, "←" plugin to host, "=" answer)
  --plugin FILE    the plugin library (default: the one beside vemora-host)
  --bold WHEN      show the popup's "<b>" markers as bold: auto (when writing
                   to a terminal), always or never (the markers show as sent)
  -e, --command COMMAND
                   run one command
  -h, --help       print this help

Errors (a bad command, a malformed CSV line, an unreadable state file) are
told in one line on standard error, and the state file is left as it was. So
is output that cannot be written (a full disk, a closed pipe): the run ends at
once. The exit status is 2 for a command line that cannot be used (an unknown
option, a date --today cannot show) and 1 for anything that fails during the
run.

)" + COMMAND_HELP + R"(
Contacts CSV (the first line names the columns, in any order; only uid is
required):
  )" + CSV_HEADER + R"(
  or in Polish: uid, sieć, nazwa (or nazwa wyświetlana), pseudonim, imię,
  nazwisko, data urodzenia, płeć; in any case. Fields are separated by commas,
  semicolons or tabs, whichever the header uses. The file is UTF-8, UTF-16
  with its byte-order mark, or windows-1250 (as Excel saves "CSV" on a Polish
  Windows; read so when it is not UTF-8, and the import says so). birth date
  is YYYY-MM-DD, DD.MM.YYYY, DD-MM-YYYY or empty; gender is 1, female,
  kobieta or K; 2, male, mężczyzna or M; 0 or empty when unknown; net is a
  number. Fields may be quoted ("a, b"); lines may end in LF, CR LF or CR.
  Empty columns after the last named one and lines with every field empty
  are skipped. No field may hold a control character other than a tab (a
  quoted one may hold line ends). A contact may have one line only. Importing
  again updates contacts: a field the header does not name leaves the stored
  value alone, a field that is there but empty clears it; without a net
  column a uid names its contact, and must not name contacts on two nets.

Example:
  vemora-host --today 2026-03-09 -e "import contacts.csv" -e start \
              -e "press wishes" -e "show messages"
)";
}

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string name = argument;
        std::optional<std::string> inlineValue;
        if (argument.rfind("--", 0) == 0 && argument.find('=') != std::string::npos) {
            name = argument.substr(0, argument.find('='));
            inlineValue = argument.substr(argument.find('=') + 1);
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= arguments.size()) throw HostError(name + " needs a value");
            return arguments[++i];
        };
        if (name == "-h" || name == "--help") {
            options.help = true;
        } else if (name == "--state") {
            options.statePath = value();
            if (options.statePath.empty()) throw HostError("--state needs a file name");
        } else if (name == "--today") {
            const std::string date = value();
            options.today = parseIsoDate(date);
            if (!options.today) throw HostError("--today: \"" + date + "\" " + whyNotADate(date));
        } else if (name == "--accept-edits") {
            options.acceptEdits = true;
        } else if (name == "--trace") {
            options.trace = true;
        } else if (name == "--plugin") {
            options.pluginPath = value();
        } else if (name == "--bold") {
            const std::string when = value();
            if (when == "auto") {
                options.bold = Options::Bold::Auto;
            } else if (when == "always") {
                options.bold = Options::Bold::Always;
            } else if (when == "never") {
                options.bold = Options::Bold::Never;
            } else {
                throw HostError("--bold: \"" + when + "\" is not auto, always or never");
            }
        } else if (name == "-e" || name == "--command") {
            options.sources.push_back({CommandSource::Kind::Inline, value()});
        } else if (argument == "-") {
            options.sources.push_back({CommandSource::Kind::StandardInput, "-"});
        } else if (!argument.empty() && argument[0] == '-') {
            throw HostError("unknown option " + argument + " (see --help)");
        } else {
            options.sources.push_back({CommandSource::Kind::File, argument});
        }
    }
    if (options.acceptEdits && !options.sources.empty()) {
        throw HostError("--accept-edits runs alone: give it no script or -e (run the commands afterwards)");
    }
    return options;
}

}  // namespace vemora::standin
