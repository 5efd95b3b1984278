#include "command_runner.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <sstream>

#include "cell_input.h"
#include "checked_output.h"
#include "clock_override.h"
#include "contact_import.h"
#include "contacts_csv.h"
#include "control_values.h"
#include "date_text.h"
#include "file_io.h"
#include "host_error.h"
#include "radio_choice.h"
#include "sample_book.h"
#include "text_codec.h"
#include "text_display.h"
#include "ui_rendering.h"
#include "version_resource.h"
#include "wire/ids.h"

namespace vemora::standin {

const char* const COMMAND_HELP = R"(Commands (one a line; "#" starts a comment; quote texts with "..."):
  today YYYY-MM-DD            run as if today were that date, 1970-01-01 to
                              2100-12-31 (the plugin's clock says local noon of
                              it); "today clock" for the real
                              date; "today" alone prints the date in effect
  sample                      add the built-in sample address book, its
                              birthdays set around today
  import [--replace] FILE     add contacts from a CSV file (see below; a name
                              is taken from the script's directory); a contact
                              with the same net and uid is updated in place:
                              the fields the file has are written (an empty
                              one clears the value), the others are kept. It
                              says how many contacts were added, changed and
                              left unchanged. Characters code page 1250 lacks
                              are refused; with --replace each becomes "?" and
                              is counted
  start                       load the plugin: init, columns, UI, start (the
                              start-up notice), then the buttons are refreshed
  stop                        tell the plugin to stop and unload it (done at the
                              end of every run anyway)
  set config COLUMN VALUE     write a setting, e.g. set config wish-text "Sto lat!"
  set contact ROW COLUMN VALUE
                              write a contact's cell, e.g. set contact 3 wish-mode 2
                              A column bound to a radio list takes only the
                              options the plugin's page offers (their numbers
                              or captions; the plugin must run to say them);
                              gender takes the words an import takes
  set --raw config|contact ...
                              write any number, for trying values the plugin's
                              pages never offer, e.g.
                              set --raw contact 5 wish-mode 3
  get config COLUMN           print a setting
  get contact ROW COLUMN      print a contact's cell
  select COLUMN OPTION        choose an option of a radio list on the settings
                              page, e.g. select info-mode okienko (a caption
                              in any case)
  select contact ROW COLUMN OPTION
                              choose an option of a radio list in a contact's
                              group and tell the plugin, e.g.
                              select contact 3 wish-mode Własna
  press BUTTON                press a plugin button: birthdays ("Kto obchodzi
                              urodziny?"), wishes ("Roześlij życzenia!"), its id
                              or its caption
  refresh                     ask the plugin to bring its buttons up to date
  show settings               the plugin's settings page, laid out as text
  show contact ROW            a contact's group (after asking the plugin to
                              refresh it)
  show buttons                the plugin buttons (after refreshing them)
  show contacts|config|columns|icons|messages
                              the contact table, the settings, the registered
                              columns, the registered icons, the chat messages
  notify ID PARENT CONTACT CODE
                              send MSG_UI_ACTION about any element, as given
  message ID [P1 [SIZE]]      send any message to IMessageProc and print the
                              answer. SIZE (6 to 30, default 30) is the
                              record's length; below 30 it carries no P1. P1
                              (default 0) is never an address: for MSG_INIT
                              (20001) 0 sends none and any other number the
                              host's own control; for MSG_UI_ACTION (22200) 0
                              sends none and any other number a notice built
                              here that the element with that id was used
                              (as "notify ID PARENT -2 1" with its parent);
                              for every other message it is sent as it is
  echo TEXT...                print a line
  info                        who the running plugin says it is; the Windows
                              build also reads the library's version block
  icons                       (Windows build only) the registered icon groups
                              as loaded from the plugin's module: each image's
                              size and bits per pixel
  quit (or exit)              end here, as at the end of the input: the state
                              is saved if it changed

COLUMN is a number, a constant's name (CNT_NICK, CFG_INFO_MODE) or a short
name: for contacts uid, net, display, nick, first-name, surname, birth-date
(a date YYYY-MM-DD, DD.MM.YYYY or DD-MM-YYYY, or the packed number), gender,
wish-mode, wish-text, age; for the settings info-mode, wish-text, notify-hide.
A plugin's columns can be used once the plugin has registered them (in this
run or an earlier one). OPTION is the option's number (from 0) or its caption,
in any case. Contacts are rows 1 to N, in the order they were added ("show
contacts" lists them).

An error names the command. From a script or -e it ends the run and nothing
of the run is saved; typed at a terminal it is reported and the session goes
on: Ctrl-C drops the line being typed, and end of input (Ctrl-D; Ctrl-Z and
Enter on Windows) or quit ends the session, saving the state if it changed.
A typed line holding a control byte (an arrow key's) is not run.
)";

namespace {

constexpr int32_t BUTTON_BIRTHDAYS = wire::ACT_BIRTHDAYS_BUTTON;
constexpr int32_t BUTTON_WISHES = wire::ACT_SEND_WISHES_BUTTON;

std::string word(const Token& token) { return tokenText(token); }

int32_t int32Argument(const Token& token, const char* what) {
    const std::optional<int64_t> value = commandNumber(word(token));
    if (!value || *value < INT32_MIN || *value > UINT32_MAX) {
        throw HostError(std::string(what) + " " + quotedUtf8(word(token)) + " is not a number");
    }
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

const char* tableName(uint8_t table) { return table == wire::CONFIG_TABLE ? "settings" : "contact"; }

std::string resolvePath(const std::string& file, const std::string& baseDirectory) {
    const std::filesystem::path path = utf8Path(file);
    if (path.is_absolute() || baseDirectory.empty()) return file;
    const std::u8string joined = (utf8Path(baseDirectory) / path).u8string();
    return std::string(joined.begin(), joined.end());
}

void usage(const char* text) { throw CommandUsageError(std::string("usage: ") + text); }

std::string counted(int count, const char* thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

std::string importSummary(const ImportCounts& counts) {
    return counted(counts.added, "contact") + " added, " + std::to_string(counts.changed) + " changed, " +
           std::to_string(counts.unchanged) + " unchanged";
}

std::string describeValue(const HostModel& model, uint8_t table, int32_t row, uint32_t column) {
    const CellValue value = model.tables.read(model.columns, table, row, column);
    std::string shown = describeCell(value);
    if (table == wire::CONTACT_TABLE && column == wire::CNT_BIRTH_DATE && value.number != 0) {
        if (const std::optional<CivilDate> date = unpackBirthDate(value.number)) shown = formatIsoDate(*date);
    }
    if (model.tables.cell(table, row, column) == nullptr) shown += " (default)";
    return shown;
}

}  // namespace

void CommandRunner::runScript(std::istream& in, const std::string& sourceName, const std::string& baseDirectory) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) runLine(line, sourceName, ++number, baseDirectory);
    if (in.bad()) throw HostError("cannot read " + sourceName + ": " + systemReason(errno != 0 ? errno : EIO));
}

void CommandRunner::runLine(const std::string& line, const std::string& sourceName, int lineNumber,
                            const std::string& baseDirectory) {
    try {
        std::string error;
        const std::optional<std::vector<Token>> words = tokenizeLine(line, error);
        if (!words) throw HostError(error);
        if (!words->empty()) execute(*words, baseDirectory);
    } catch (const HostError& error) {
        if (sourceName.empty()) throw;
        throw HostError(sourceName + ":" + std::to_string(lineNumber) + ": " + error.what());
    }
    requireWritten(out_);  // a run whose output is lost goes no further
}

void CommandRunner::execute(const Words& words, const std::string& baseDirectory) {
    const std::string command = word(words[0]);
    try {
        dispatch(command, words, baseDirectory);
    } catch (const CommandUsageError&) {
        throw;
    } catch (const HostError& error) {
        throw HostError(command + ": " + error.what());
    }
}

void CommandRunner::dispatch(const std::string& command, const Words& words, const std::string& baseDirectory) {
    if (command == "today") return today(words);
    if (command == "sample") return sample(words);
    if (command == "import") return importCsv(words, baseDirectory);
    if (command == "start") return start(words);
    if (command == "stop") return stop(words);
    if (command == "set") return set(words);
    if (command == "get") return get(words);
    if (command == "select") return select(words);
    if (command == "press") return press(words);
    if (command == "refresh") return refresh(words);
    if (command == "show") return show(words);
    if (command == "notify") return notify(words);
    if (command == "message") return message(words);
    if (command == "echo") return echo(words);
    if (command == "info") return info(words);
    if (command == "icons") return icons(words);
    if (command == "quit" || command == "exit") {
        if (words.size() != 1) usage("quit");
        throw QuitRequested{};
    }
    throw CommandUsageError("unknown command " + quotedUtf8(command) + " (see vemora-host --help)");
}

void CommandRunner::requireRunning() const {
    if (!session_.running()) throw HostError("the plugin is not running (use start first)");
}

void CommandRunner::today(const Words& words) {
    if (words.size() == 1) {
        const CivilDate date = clockToday();
        out_ << "today is " << formatIsoDate(date) << (pinnedDate() ? " (pinned)" : " (the clock's)") << '\n';
        return;
    }
    if (words.size() != 2) usage("today YYYY-MM-DD | today clock");
    const std::string text = word(words[1]);
    if (text == "clock") {
        pinClock(std::nullopt);
        return;
    }
    const std::optional<CivilDate> date = parseIsoDate(text);
    if (!date) throw HostError(quotedUtf8(text) + " " + whyNotADate(text));
    if (!pinClock(date)) throw HostError(whyNotPinned(*date));
}

void CommandRunner::sample(const Words& words) {
    if (words.size() != 1) usage("sample");
    const ImportCounts counts = importContacts(model_.tables, sampleAddressBook(clockToday()));
    out_ << "[sample address book: " << importSummary(counts) << "]\n";
}

void CommandRunner::importCsv(const Words& words, const std::string& baseDirectory) {
    const bool replace = words.size() == 3 && word(words[1]) == "--replace";
    if (words.size() != 2 && !replace) usage("import [--replace] FILE");
    const std::string file = word(words.back());
    const std::string path = resolvePath(file, baseDirectory);
    const std::string content = readExistingFile(path);
    const CsvContacts read = readContactsCsv(content, file, replace);
    const ImportCounts counts = importContacts(model_.tables, read.contacts, file);
    if (!read.readAs.empty()) out_ << "[" << file << " read as " << read.readAs << "]\n";
    out_ << "[imported " << file << ": " << importSummary(counts);
    if (replace) out_ << "; " << counted(read.replaced, "character") << " code page 1250 lacks replaced with \"?\"";
    out_ << "]\n";
}

void CommandRunner::start(const Words& words) {
    if (words.size() != 1) usage("start");
    const PluginIdentity& identity = session_.load();
    out_ << "[" << identity.name << " " << identity.version << " loaded: net " << identity.net << ", type "
         << identity.type << ", signature " << identity.signature << "]\n";
    session_.startUp();
}

void CommandRunner::stop(const Words& words) {
    if (words.size() != 1) usage("stop");
    requireRunning();
    session_.stop();
    out_ << "[" << session_.identity().name << " stopped]\n";
}

int32_t CommandRunner::contactRow(const Token& token) const {
    const std::optional<int64_t> row = commandNumber(word(token));
    if (!row || *row < 1 || *row > model_.tables.contactCount()) {
        throw HostError("no contact " + quotedUtf8(word(token)) + " (contacts are rows 1 to " +
                        std::to_string(model_.tables.contactCount()) + ")");
    }
    return static_cast<int32_t>(*row);
}

uint32_t CommandRunner::knownColumn(uint8_t table, const Token& token) const {
    const std::string name = word(token);
    const std::optional<uint32_t> id = columnIdByName(table, name);
    if (!id) {
        throw HostError("unknown column " + quotedUtf8(name) + " for " + tableName(table) + " (the columns: " +
                        columnNames(table) + "; or a column's number)");
    }
    if (model_.columns.find(table, *id) == nullptr) {
        throw HostError("column " + quotedUtf8(name) + " (" + std::to_string(*id) + ") is not registered for " +
                        tableName(table) + (session_.running() ? "" : " (start the plugin first)"));
    }
    return *id;
}

void CommandRunner::set(const Words& given) {
    const bool raw = given.size() >= 2 && word(given[1]) == "--raw";
    Words words = given;
    if (raw) words.erase(words.begin() + 1);
    const bool config = words.size() == 4 && word(words[1]) == "config";
    const bool contact = words.size() == 5 && word(words[1]) == "contact";
    if (!config && !contact) usage("set [--raw] config COLUMN VALUE | set [--raw] contact ROW COLUMN VALUE");
    const uint8_t table = config ? wire::CONFIG_TABLE : wire::CONTACT_TABLE;
    const int32_t row = config ? wire::CONFIG_ROW : contactRow(words[2]);
    const uint32_t column = knownColumn(table, words[config ? 2 : 3]);
    const CellValue value = cellInput(model_, session_.running(), table, column, words[config ? 3 : 4], raw);
    model_.tables.set(table, row, column, value);
}

void CommandRunner::get(const Words& words) {
    const bool config = words.size() == 3 && word(words[1]) == "config";
    const bool contact = words.size() == 4 && word(words[1]) == "contact";
    if (!config && !contact) usage("get config COLUMN | get contact ROW COLUMN");
    const uint8_t table = config ? wire::CONFIG_TABLE : wire::CONTACT_TABLE;
    const int32_t row = config ? wire::CONFIG_ROW : contactRow(words[2]);
    const uint32_t column = knownColumn(table, words[config ? 2 : 3]);
    out_ << (config ? "config " : "contact " + std::to_string(row) + " ") << columnName(table, column) << " = "
         << describeValue(model_, table, row, column) << '\n';
}

void CommandRunner::select(const Words& words) {
    const bool contact = words.size() == 5 && word(words[1]) == "contact";
    if (!contact && words.size() != 3) usage("select COLUMN OPTION | select contact ROW COLUMN OPTION");
    requireRunning();
    const uint8_t table = contact ? wire::CONTACT_TABLE : wire::CONFIG_TABLE;
    const int32_t row = contact ? contactRow(words[2]) : wire::CONFIG_ROW;
    const uint32_t column = knownColumn(table, words[contact ? 3 : 1]);
    const UiElement* radio = radioListFor(model_.ui, table, column);
    if (radio == nullptr) {
        throw HostError(std::string("the plugin has no radio list for column ") + columnName(table, column) +
                        (table == wire::CONTACT_TABLE ? " in the contact group" : " on its settings page"));
    }
    const std::vector<RadioOption> options = radioOptions(radio->text.value_or(""));
    const std::string wanted = word(words[contact ? 4 : 2]);
    const std::optional<int32_t> chosen = chooseOption(options, wanted);
    if (!chosen) throw HostError("no option " + quotedUtf8(wanted) + " (the options are " + listOptions(options) + ")");
    if ((radio->status & wire::STATUS_DISABLED) != 0) throw HostError("the radio list is disabled");
    model_.tables.set(table, row, column, CellValue::ofInt(*chosen));
    // An element with id 0 cannot be named in a notification: the plugin is not told.
    if (radio->id != 0) {
        session_.notifyAction({radio->id, radio->parent, contact ? row : wire::NO_CONTACT}, wire::ACTION_PRESSED);
    }
}

void CommandRunner::press(const Words& words) {
    if (words.size() != 2) usage("press BUTTON");
    requireRunning();
    const std::string wanted = word(words[1]);
    std::optional<int32_t> id = wanted == "birthdays" ? std::optional(BUTTON_BIRTHDAYS)
                                : wanted == "wishes"  ? std::optional(BUTTON_WISHES)
                                                      : std::nullopt;
    if (!id) {
        if (const std::optional<int64_t> number = commandNumber(wanted)) id = static_cast<int32_t>(*number);
    }
    const UiElement* button = nullptr;
    for (const UiElement* candidate : model_.ui.children(static_cast<int32_t>(BUTTON_GROUP))) {
        if (candidate->kind() != ElementKind::Button) continue;
        const bool byCaption = candidate->text && cp1250ToUtf8(*candidate->text) == wanted;
        if (byCaption || (id && candidate->id == *id)) button = candidate;
    }
    if (button == nullptr) throw HostError("the plugin has no button " + quotedUtf8(wanted));
    if ((button->status & wire::STATUS_INACTIVE) != 0) {
        out_ << "[button " << quotedText(button->text.value_or("")) << " is inactive: nothing happens]\n";
        return;
    }
    session_.notifyAction({button->id, button->parent, wire::NO_CONTACT}, wire::ACTION_PRESSED);
}

void CommandRunner::refresh(const Words& words) {
    if (words.size() != 1) usage("refresh");
    requireRunning();
    session_.refreshButtons();
}

void CommandRunner::show(const Words& words) {
    const std::string what = words.size() >= 2 ? word(words[1]) : "";
    if (what == "contact" && words.size() == 3) return showContact(contactRow(words[2]));
    if (words.size() != 2) usage("show settings|contact ROW|buttons|contacts|config|columns|icons|messages");
    if (what == "settings") {
        requireRunning();
        out_ << layoutSettingsPage(model_);
    } else if (what == "buttons") {
        requireRunning();
        session_.refreshButtons();
        out_ << layoutButtons(model_);
    } else if (what == "contacts") {
        showContacts();
    } else if (what == "config") {
        showConfig();
    } else if (what == "columns") {
        showColumns();
    } else if (what == "icons") {
        showIcons();
    } else if (what == "messages") {
        showMessages();
    } else {
        usage("show settings|contact ROW|buttons|contacts|config|columns|icons|messages");
    }
}

void CommandRunner::showContact(int32_t row) {
    requireRunning();
    // The host refreshes a group's elements before it shows them.
    for (const UiElement* group : model_.ui.children(wire::UI_PARENT_CONTACT_INFO)) {
        if (group->kind() != ElementKind::Group) continue;
        for (const UiElement* element : model_.ui.children(group->id)) {
            if (element->id != 0) session_.notifyAction({element->id, element->parent, row}, wire::ACTION_REFRESH);
        }
    }
    out_ << "[contact " << row << ": "
         << displayText(model_.tables.read(model_.columns, wire::CONTACT_TABLE, row, wire::CNT_DISPLAY_NAME).text,
                        false)
         << "]\n"
         << layoutContactGroup(model_, row);
}

void CommandRunner::showContacts() {
    out_ << "[contacts: " << model_.tables.contactCount() << "]\n";
    for (int32_t row = 1; row <= model_.tables.contactCount(); ++row) {
        std::vector<uint32_t> columns;
        for (const auto& [column, value] : model_.tables.contactRow(row)) columns.push_back(column);
        // The host's own columns in a fixed order, then the plugins' by number.
        constexpr uint32_t ORDER[] = {wire::CNT_UID,        wire::CNT_NET,     wire::CNT_DISPLAY_NAME,
                                      wire::CNT_NICK,       wire::CNT_FIRST_NAME, wire::CNT_SURNAME,
                                      wire::CNT_BIRTH_DATE, wire::CNT_GENDER_CODE};
        auto rank = [&](uint32_t column) {
            for (size_t i = 0; i < std::size(ORDER); ++i)
                if (ORDER[i] == column) return static_cast<int64_t>(i);
            return static_cast<int64_t>(column) + 100;
        };
        std::sort(columns.begin(), columns.end(), [&](uint32_t a, uint32_t b) { return rank(a) < rank(b); });
        out_ << "  " << row;
        for (uint32_t column : columns) {
            out_ << ' ' << columnName(wire::CONTACT_TABLE, column) << '='
                 << describeValue(model_, wire::CONTACT_TABLE, row, column);
        }
        out_ << '\n';
    }
}

void CommandRunner::showConfig() {
    out_ << "[settings]\n";
    std::vector<uint32_t> columns;
    for (const ColumnInfo& column : model_.columns.registeredColumns())
        if (column.table == wire::CONFIG_TABLE) columns.push_back(column.id);
    for (const auto& [column, value] : model_.tables.configRow())
        if (model_.columns.find(wire::CONFIG_TABLE, column) == nullptr) columns.push_back(column);
    std::sort(columns.begin(), columns.end());
    for (uint32_t column : columns) {
        out_ << "  " << columnName(wire::CONFIG_TABLE, column) << " (" << column
             << ") = " << describeValue(model_, wire::CONFIG_TABLE, wire::CONFIG_ROW, column) << '\n';
    }
}

void CommandRunner::showColumns() {
    out_ << "[registered columns]\n";
    for (const ColumnInfo& column : model_.columns.registeredColumns()) {
        out_ << "  " << tableName(column.table) << ' ' << column.id << ' ' << columnName(column.table, column.id)
             << (column.kind == ValueKind::Int ? " int, default " + std::to_string(column.defaultInt)
                                               : " text, default " + quotedText(column.defaultText))
             << '\n';
    }
}

void CommandRunner::showIcons() {
    out_ << "[registered icons]\n";
    for (const RegisteredIcon& icon : model_.ui.icons()) {
        out_ << "  icon " << icon.iconId << ": resource " << icon.resource << " of the plugin's module, type "
             << icon.type << ", options " << icon.options << '\n';
    }
}

void CommandRunner::showMessages() {
    out_ << "[chat messages: " << model_.outbox.messages().size() << "]\n";
    for (const OutgoingMessage& message : model_.outbox.messages()) {
        out_ << "  " << message.number << " to " << quotedText(message.recipient) << " on net " << message.net
             << ", type " << message.type << ", flags " << message.flags << (message.queued ? ", queued" : ", not queued")
             << ": " << quotedText(message.body) << '\n';
    }
}

void CommandRunner::notify(const Words& words) {
    if (words.size() != 5) usage("notify ID PARENT CONTACT CODE");
    requireRunning();
    const wire::ActionRef element{int32Argument(words[1], "id"), int32Argument(words[2], "parent"),
                                  int32Argument(words[3], "contact")};
    const uint32_t answer = session_.notifyAction(element, static_cast<uint32_t>(int32Argument(words[4], "code")));
    out_ << "= " << answer << '\n';
}

void CommandRunner::message(const Words& words) {
    if (words.size() < 2 || words.size() > 4) usage("message ID [P1 [SIZE]]");
    requireRunning();
    const auto id = static_cast<uint32_t>(int32Argument(words[1], "id"));
    const auto p1 = words.size() > 2 ? static_cast<uint32_t>(int32Argument(words[2], "p1")) : 0u;
    const int32_t size = words.size() > 3 ? int32Argument(words[3], "size") : 30;
    if (size < 6 || size > 30) throw HostError("a message record here has 6 to 30 bytes");
    const uint32_t answer = session_.deliverAsked(id, p1, static_cast<uint16_t>(size));
    if (answersWithText(id) && answer != 0) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%08X", answer);
        out_ << "= " << address << ' '
             << quotedText(static_cast<const char*>(reinterpret_cast<const void*>(static_cast<uintptr_t>(answer))))
             << '\n';
    } else {
        out_ << "= " << answer << '\n';
    }
}

void CommandRunner::echo(const Words& words) {
    for (size_t i = 1; i < words.size(); ++i) out_ << (i > 1 ? " " : "") << word(words[i]);
    out_ << '\n';
}

void CommandRunner::info(const Words& words) {
    if (words.size() != 1) usage("info");
    requireRunning();
    const PluginIdentity& identity = session_.identity();
    out_ << "[plugin]\n"
         << "  name " << quotedUtf8(identity.name) << ", version " << quotedUtf8(identity.version) << ", signature "
         << quotedUtf8(identity.signature) << ", net " << identity.net << ", type " << identity.type << '\n';
    const std::optional<VersionResource> version = readVersionResource(session_.moduleHandle());
    if (!version) return;
    char translation[64];
    std::snprintf(translation, sizeof translation, "language 0x%04X, code page %u", version->language,
                  version->codePage);
    out_ << "[version block of " << version->file << "]\n"
         << "  file version " << version->fileVersion << ", product version " << version->productVersion << '\n'
         << "  " << translation << '\n';
    for (const auto& [name, value] : version->strings) out_ << "  " << name << ": " << quotedUtf8(value) << '\n';
}

void CommandRunner::icons(const Words& words) {
    if (words.size() != 1) usage("icons");
    if (!readsIconResources()) {
        throw HostError("this build of the stand-in does not read icon resources (the Windows build does)");
    }
    requireRunning();
    out_ << "[icon groups loaded from the plugin's module]\n";
    for (const RegisteredIcon& icon : model_.ui.icons()) {
        out_ << "  icon " << icon.iconId << ", icon group " << icon.resource << ": ";
        if (!icon.loaded) {
            out_ << "not loaded: the record names a module that is not the plugin's\n";
        } else if (!icon.loaded->failure.empty()) {
            out_ << icon.loaded->failure << '\n';
        } else {
            out_ << counted(static_cast<int>(icon.loaded->images.size()), "image") << '\n';
        }
        for (const IconImage& image : icon.loaded->images) out_ << "    " << describeIconImage(image) << '\n';
    }
}

}  // namespace vemora::standin
