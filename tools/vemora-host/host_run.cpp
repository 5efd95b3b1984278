#include "host_run.h"

#include <sstream>

#include "commands.h"
#include "endpoint.h"
#include "host_error.h"
#include "platform.h"
#include "rendering.h"
#include "state_file.h"

namespace vemora::standin {

namespace {

struct OutputFailed : HostError {
    using HostError::HostError;
};

// A run whose output is lost goes no further, and keeps nothing.
void requireWritten(std::ostream& out, std::ostream& errors) {
    out.flush();
    errors.flush();
    if (!out) throw OutputFailed("cannot write to standard output");
    if (!errors) throw OutputFailed("cannot write to standard error");
}

class Run {
public:
    Run(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors)
        : options_(options), in_(in), out_(out), errors_(errors) {}

    void operator()() {
        HostModel model;
        loadState(options_.statePath, model);  // before anything runs: an unreadable file stops us here
        const uint64_t loaded = model.persistentRevision();
        ConsolePresenter presenter(out_, errors_);
        BoundaryTrace trace(out_);
        HostEndpoint endpoint(model, presenter, options_.pluginPath.empty() ? defaultPluginPath() : options_.pluginPath);
        if (options_.trace) endpoint.setTrace(&trace);
        CommandRunner runner(model, endpoint, out_);
        try {
            if (options_.typed) {
                typed(runner);
            } else {
                sources(runner);
            }
        } catch (const QuitRequested&) {
        }
        endpoint.stop();
        requireWritten(out_, errors_);  // all that was shown reached its reader before the state is kept
        if (model.persistentRevision() != loaded) saveState(options_.statePath, model);
    }

private:
    void line(CommandRunner& runner, const std::string& text, const std::string& source, int number) {
        runner.runLine(text, source, number);
        requireWritten(out_, errors_);
    }

    void script(CommandRunner& runner, std::istream& in, const std::string& source) {
        std::string text;
        int number = 0;
        while (std::getline(in, text)) line(runner, text, source, ++number);
        if (in.bad()) throw HostError("cannot read " + source);
    }

    void sources(CommandRunner& runner) {
        if (options_.sources.empty()) return script(runner, in_, "stdin");
        int inlineNumber = 0;
        for (const CommandSource& source : options_.sources) {
            if (source.kind == CommandSource::Kind::Inline) {
                runner.setDirectory("");
                line(runner, source.text, "-e", ++inlineNumber);
            } else if (source.kind == CommandSource::Kind::StandardInput) {
                runner.setDirectory("");
                script(runner, in_, "stdin");
            } else {
                std::istringstream file(readExistingFile(source.text));
                const std::u8string folder = utf8Path(source.text).parent_path().u8string();
                runner.setDirectory(std::string(folder.begin(), folder.end()));
                script(runner, file, source.text);
            }
        }
    }

    // A person typing: a failed line is reported and the next prompt follows.
    void typed(CommandRunner& runner) {
        std::string text;
        for (int number = 1;; ++number) {
            errors_ << "vemora-host> " << std::flush;
            if (!std::getline(in_, text)) break;
            try {
                line(runner, text, "", number);
            } catch (const OutputFailed&) {
                throw;
            } catch (const HostError& error) {
                errors_ << "vemora-host: " << error.what() << '\n';
            }
        }
        errors_ << '\n';
    }

    const Options& options_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& errors_;
};

}  // namespace

std::string usageText() {
    return std::string(R"(Usage: vemora-host [OPTION]... [SCRIPT]...

The Vemora plugin's test host: it loads the real plugin library, plays the
messenger's part through its IMessageProc (the start sequence, the answers to
every request, the user's clicks), keeps the host's tables in a state file
between runs, and shows what the plugin makes the host do.

Commands come from each SCRIPT file in turn ("-" is standard input) and from
-e options, in the order given; with neither, from standard input (typed at a
terminal: with a prompt, and a failed command does not end the session).

Options:
  --state FILE     the state file (default: )") +
           DEFAULT_STATE_FILE + R"( here), plain
                   text; written only when the run changed the tables and
                   succeeded; one that does not read, or is cut short, is
                   never overwritten
  --today DATE     run as if today were DATE (YYYY-MM-DD, 1970-01-01 to
                   2100-12-31): the plugin's clock says local noon of that day
  --trace          print every record crossing the boundary, decoded and in hex
  --plugin FILE    the plugin library (default: the one beside vemora-host)
  -e COMMAND       run one command
  -h, --help       print this help

An error is one line on standard error; from a script or -e it ends the run,
and nothing of the run is saved. So does output that cannot be written. Exit
status 2 is for a command line that cannot be used, 1 for a failed run.

)" + commandHelp() + R"(
Contacts CSV: UTF-8, comma-separated, quoted as RFC 4180 has it; the first
line names the columns (only uid is required; others are skipped):
  uid,net,display,nick,first name,surname,birth date,gender
birth date is YYYY-MM-DD or empty; gender 0 or empty, 1 or female, 2 or male.
)";
}

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= arguments.size()) throw CommandLineError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--state") {
            options.statePath = value();
            if (options.statePath.empty()) throw CommandLineError("--state needs a file name");
        } else if (argument == "--today") {
            const std::string date = value();
            options.today = parseIsoDate(date);
            if (!options.today) throw CommandLineError("--today: \"" + date + "\" " + whyNotADate(date));
        } else if (argument == "--trace") {
            options.trace = true;
        } else if (argument == "--plugin") {
            options.pluginPath = value();
        } else if (argument == "-e" || argument == "--command") {
            options.sources.push_back({CommandSource::Kind::Inline, value()});
        } else if (argument == "-") {
            options.sources.push_back({CommandSource::Kind::StandardInput, "-"});
        } else if (!argument.empty() && argument[0] == '-') {
            throw CommandLineError("unknown option " + argument + " (see --help)");
        } else {
            options.sources.push_back({CommandSource::Kind::File, argument});
        }
    }
    return options;
}

int runHost(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors) {
    try {
        if (options.today && !pinClock(options.today)) throw CommandLineError("--today: " + whyNotPinned(*options.today));
        Run(options, in, out, errors)();
        return 0;
    } catch (const CommandLineError& error) {
        out.flush();
        errors << "vemora-host: " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        out.flush();
        errors << "vemora-host: " << error.what() << std::endl;
        return 1;
    }
}

}  // namespace vemora::standin
