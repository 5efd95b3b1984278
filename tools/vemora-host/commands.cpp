#include "commands.h"

#include <algorithm>
#include <filesystem>

#include "contacts_csv.h"
#include "host_error.h"
#include "platform.h"
#include "rendering.h"

namespace vemora::standin {

namespace {

constexpr const char* RAW_HINT = " (\"set --raw\" writes any number)";

std::string word(const Token& token) { return tokenText(token); }

std::optional<int32_t> int32Of(const std::string& text) {
    const std::optional<int64_t> value = commandNumber(text);
    if (!value || *value < INT32_MIN || *value > UINT32_MAX) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

int32_t int32Argument(const Token& token, const char* what) {
    const std::optional<int32_t> value = int32Of(word(token));
    if (!value) throw HostError(std::string(what) + " " + quotedUtf8(word(token)) + " is not a number");
    return *value;
}

std::string counted(int count, const char* thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

std::string importSummary(const ImportCounts& counts) {
    return counted(counts.added, "contact") + " added, " + std::to_string(counts.changed) + " changed, " +
           std::to_string(counts.unchanged) + " unchanged";
}

}  // namespace

const std::vector<CommandRunner::Command>& CommandRunner::commands() {
    static const std::vector<Command> table = {
        {"today", "today [YYYY-MM-DD|clock]",
         "run as if today were that date, 1970-01-01 to 2100-12-31 (the plugin's\n"
         "clock says local noon of it); \"clock\" for the real date; alone, the date\n"
         "in effect\n",
         &CommandRunner::today},
        {"sample", "sample", "add the built-in sample address book, its birthdays set around today\n",
         &CommandRunner::sample},
        {"import", "import FILE",
         "add contacts from a CSV file (see below; a name is taken from the script's\n"
         "folder); a contact with the same uid (and net) is updated in place\n",
         &CommandRunner::importCsv},
        {"start", "start", "load the plugin: init, columns, UI, start (the start-up notice)\n", &CommandRunner::start},
        {"stop", "stop", "tell the plugin to stop and unload it (done at the end anyway)\n", &CommandRunner::stop},
        {"set", "set [--raw] config COLUMN VALUE | set [--raw] contact ROW COLUMN VALUE",
         "write a cell: a radio list's column takes the options the plugin offers\n"
         "(number or caption), birth-date a date YYYY-MM-DD, gender 0, 1, female,\n"
         "2 or male; --raw writes any number\n",
         &CommandRunner::set},
        {"get", "get config COLUMN | get contact ROW COLUMN", "print a cell\n", &CommandRunner::get},
        {"select", "select COLUMN OPTION | select contact ROW COLUMN OPTION",
         "choose an option of a radio list on the settings page or in a contact's\n"
         "group (its number from 0, or its caption in any case) and tell the plugin\n",
         &CommandRunner::select},
        {"press", "press BUTTON",
         "press a plugin button: birthdays, wishes, its id or its caption (any case)\n", &CommandRunner::press},
        {"show", "show settings|contact ROW|buttons|contacts|config|columns|icons|messages",
         "the settings page, a contact's group or the buttons as the host lays them\n"
         "out (refreshed first); the tables, the registered columns and icons, the\n"
         "chat messages\n",
         &CommandRunner::show},
        {"notify", "notify ID PARENT CONTACT CODE", "send MSG_UI_ACTION about any element, as given\n",
         &CommandRunner::notify},
        {"message", "message ID [P1 [SIZE]]",
         "send any message and print the answer; SIZE 6 to 30 (default 30; below 30\n"
         "no P1). P1 is never an address: for MSG_INIT a non-zero P1 sends the\n"
         "host's control, for MSG_UI_ACTION a notice that the element with id P1\n"
         "was used; any other message carries it as a number\n",
         &CommandRunner::message},
        {"echo", "echo [TEXT]...", "print a line\n", &CommandRunner::echo},
        {"info", "info", "who the running plugin says it is\n", &CommandRunner::info},
        {"quit", "quit", "end here, as at the end of the input\n", &CommandRunner::quit},
    };
    return table;
}

std::string commandHelp() {
    std::string help = "Commands (one a line; \"#\" starts a comment; quote texts with \"...\"):\n";
    for (const CommandRunner::Command& command : CommandRunner::commands()) {
        help += "  " + std::string(command.usage) + "\n";
        for (const std::string_view line : splitLines(command.help))
            if (!line.empty()) help += "      " + std::string(line) + "\n";
    }
    return help + R"(
COLUMN is a number or a short name: for contacts uid, net, display, nick,
first-name, surname, birth-date, gender, wish-mode, wish-text, age; for config
info-mode, wish-text, notify-hide. The plugin's columns can be used once it has
registered them. Contacts are rows 1 to N, in the order they were added.
)";
}

void CommandRunner::runLine(const std::string& line, const std::string& source, int lineNumber) {
    try {
        const Words words = tokenizeLine(line);
        if (words.empty()) return;
        const std::string name = word(words[0]);
        const auto& table = commands();
        const auto command = std::find_if(table.begin(), table.end(), [&](const Command& c) { return name == c.name; });
        if (command == table.end()) {
            std::string names;
            for (const Command& known : table) names += (names.empty() ? "" : ", ") + std::string(known.name);
            throw HostError("unknown command " + quotedUtf8(name) + " (the commands: " + names + ")");
        }
        try {
            (this->*command->run)(words);
        } catch (const WrongUsage&) {
            throw HostError(std::string("usage: ") + command->usage);
        } catch (const HostError& error) {
            throw HostError(name + ": " + error.what());
        }
    } catch (const HostError& error) {
        if (source.empty()) throw;
        throw HostError(source + ":" + std::to_string(lineNumber) + ": " + error.what());
    }
}

void CommandRunner::setDirectory(const std::string& directory) { directory_ = directory; }

void CommandRunner::requireRunning() const {
    if (!endpoint_.running()) throw HostError("the plugin is not running (use start first)");
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
                        tableName(table) + (endpoint_.running() ? "" : " (start the plugin first)"));
    }
    return *id;
}

CellValue CommandRunner::cellInput(uint8_t table, uint32_t column, const Token& token, bool raw) const {
    const ColumnInfo* info = model_.columns.find(table, column);
    if (info->kind == ValueKind::Text) return CellValue::ofText(tokenCp1250(token));
    const std::string text = word(token);
    const std::string name = columnName(table, column);
    const std::optional<int32_t> number = int32Of(text);
    if (table == wire::CONTACT_TABLE && column == wire::CNT_BIRTH_DATE) {
        if (const std::optional<CivilDate> date = parseIsoDate(text)) return CellValue::ofInt(packBirthDate(*date));
        const bool dateForm = text.size() == 10 && text[4] == '-' && text[7] == '-';
        if (number && !dateForm) return CellValue::ofInt(*number);  // the packed value itself
        throw HostError("column " + name + ": " + quotedUtf8(text) + " " + whyNotADate(text));
    }
    if (table == wire::CONTACT_TABLE && column == wire::CNT_GENDER_CODE && !raw) {
        if (const std::optional<int32_t> code = genderCode(text)) return CellValue::ofInt(*code);
        throw HostError("column " + name + " takes 0, 1, female, 2 or male; not " + quotedUtf8(text) + RAW_HINT);
    }
    if (info->registered && !raw) {
        if (!endpoint_.running()) {
            throw HostError("column " + name + ": the values the plugin offers for it are known once it runs; use " +
                            "start first, or \"set --raw\" to write any number");
        }
        if (const UiElement* radio = model_.ui.radioListFor(table, column)) {
            const std::vector<RadioOption> options = radioOptions(radio->text.value_or(""));
            if (const std::optional<int32_t> chosen = chooseOption(options, text)) return CellValue::ofInt(*chosen);
            throw HostError("column " + name + " takes one of the options the plugin offers for it (" +
                            listOptions(options) + "), not " + quotedUtf8(text) + RAW_HINT);
        }
    }
    if (!number) throw HostError("column " + name + " holds numbers, not " + quotedUtf8(text));
    return CellValue::ofInt(*number);
}

std::string CommandRunner::describeValue(uint8_t table, int32_t row, uint32_t column) const {
    const CellValue value = model_.tables.read(model_.columns, table, row, column);
    std::string shown = value.kind == ValueKind::Int ? std::to_string(value.number) : quotedText(value.text);
    if (table == wire::CONTACT_TABLE && column == wire::CNT_BIRTH_DATE && value.number != 0) {
        if (const std::optional<CivilDate> date = unpackBirthDate(value.number)) shown = formatIsoDate(*date);
    }
    if (model_.tables.cell(table, row, column) == nullptr) shown += " (default)";
    return shown;
}

// --- the commands ------------------------------------------------------------------

void CommandRunner::today(const Words& words) {
    if (words.size() == 1) {
        out_ << "today is " << formatIsoDate(clockToday()) << (pinnedDate() ? " (pinned)" : " (the clock's)") << '\n';
        return;
    }
    if (words.size() != 2) usage();
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
    if (words.size() != 1) usage();
    out_ << "[sample address book: " << importSummary(importContacts(model_.tables, sampleAddressBook(clockToday())))
         << "]\n";
}

void CommandRunner::importCsv(const Words& words) {
    if (words.size() != 2) usage();
    const std::string file = word(words[1]);
    const std::filesystem::path path = utf8Path(file);
    const std::u8string full = (path.is_absolute() || directory_.empty() ? path : utf8Path(directory_) / path).u8string();
    const CsvContacts read = readContactsCsv(readExistingFile(std::string(full.begin(), full.end())), file);
    if (!read.skippedColumns.empty()) {
        out_ << "[" << file << ": skipped the columns the stand-in does not know:";
        for (const std::string& name : read.skippedColumns) out_ << ' ' << quotedUtf8(name);
        out_ << "]\n";
    }
    out_ << "[imported " << file << ": " << importSummary(importContacts(model_.tables, read.contacts)) << "]\n";
}

void CommandRunner::start(const Words& words) {
    if (words.size() != 1) usage();
    const PluginIdentity& identity = endpoint_.load();
    out_ << "[" << identity.name << " " << identity.version << " loaded: net " << identity.net << ", type "
         << identity.type << ", signature " << identity.signature << "]\n";
    endpoint_.startUp();
}

void CommandRunner::stop(const Words& words) {
    if (words.size() != 1) usage();
    requireRunning();
    endpoint_.stop();
    out_ << "[" << endpoint_.identity().name << " stopped]\n";
}

void CommandRunner::set(const Words& given) {
    Words words = given;
    const bool raw = words.size() >= 2 && word(words[1]) == "--raw";
    if (raw) words.erase(words.begin() + 1);
    const bool config = words.size() == 4 && word(words[1]) == "config";
    if (!config && !(words.size() == 5 && word(words[1]) == "contact")) usage();
    const uint8_t table = config ? wire::CONFIG_TABLE : wire::CONTACT_TABLE;
    const int32_t row = config ? wire::CONFIG_ROW : contactRow(words[2]);
    const uint32_t column = knownColumn(table, words[config ? 2 : 3]);
    model_.tables.set(table, row, column, cellInput(table, column, words[config ? 3 : 4], raw));
}

void CommandRunner::get(const Words& words) {
    const bool config = words.size() == 3 && word(words[1]) == "config";
    if (!config && !(words.size() == 4 && word(words[1]) == "contact")) usage();
    const uint8_t table = config ? wire::CONFIG_TABLE : wire::CONTACT_TABLE;
    const int32_t row = config ? wire::CONFIG_ROW : contactRow(words[2]);
    const uint32_t column = knownColumn(table, words[config ? 2 : 3]);
    out_ << (config ? "config " : "contact " + std::to_string(row) + " ") << columnName(table, column) << " = "
         << describeValue(table, row, column) << '\n';
}

void CommandRunner::select(const Words& words) {
    const bool contact = words.size() == 5 && word(words[1]) == "contact";
    if (!contact && words.size() != 3) usage();
    requireRunning();
    const uint8_t table = contact ? wire::CONTACT_TABLE : wire::CONFIG_TABLE;
    const int32_t row = contact ? contactRow(words[2]) : wire::CONFIG_ROW;
    const uint32_t column = knownColumn(table, words[contact ? 3 : 1]);
    const UiElement* radio = model_.ui.radioListFor(table, column);
    if (radio == nullptr) {
        throw HostError("the plugin has no radio list for column " + columnName(table, column) +
                        (contact ? " in the contact group" : " on its settings page"));
    }
    const std::vector<RadioOption> options = radioOptions(radio->text.value_or(""));
    const std::string wanted = word(words[contact ? 4 : 2]);
    const std::optional<int32_t> chosen = chooseOption(options, wanted);
    if (!chosen) throw HostError("no option " + quotedUtf8(wanted) + " (the options are " + listOptions(options) + ")");
    if ((radio->status & wire::STATUS_DISABLED) != 0) throw HostError("the radio list is disabled");
    model_.tables.set(table, row, column, CellValue::ofInt(*chosen));
    // An element with id 0 cannot be named in a notification: the plugin is not told.
    if (radio->id != 0) {
        endpoint_.notifyAction({radio->id, radio->parent, contact ? row : wire::NO_CONTACT}, wire::ACTION_PRESSED);
    }
}

void CommandRunner::press(const Words& words) {
    if (words.size() != 2) usage();
    requireRunning();
    const std::string wanted = word(words[1]);
    std::optional<int32_t> id = wanted == "birthdays" ? std::optional(wire::ACT_BIRTHDAYS_BUTTON)
                                : wanted == "wishes"  ? std::optional(wire::ACT_SEND_WISHES_BUTTON)
                                                      : int32Of(wanted);
    const UiElement* button = nullptr;
    for (const UiElement* candidate : model_.ui.children(BUTTON_GROUP)) {
        if (candidate->kind() != ElementKind::Button) continue;
        const std::optional<std::string> caption = cp1250ToUtf8(candidate->text.value_or(""));
        if ((caption && sameWordIgnoringCase(*caption, wanted)) || (id && candidate->id == *id)) button = candidate;
    }
    if (button == nullptr) throw HostError("the plugin has no button " + quotedUtf8(wanted));
    if ((button->status & wire::STATUS_INACTIVE) != 0) {
        out_ << "[button " << quotedText(button->text.value_or("")) << " is inactive: nothing happens]\n";
        return;
    }
    endpoint_.notifyAction({button->id, button->parent, wire::NO_CONTACT}, wire::ACTION_PRESSED);
}

void CommandRunner::show(const Words& words) {
    const std::string what = words.size() >= 2 ? word(words[1]) : "";
    if (what == "contact" && words.size() == 3) return showContact(contactRow(words[2]));
    if (words.size() != 2) usage();
    if (what == "settings") {
        requireRunning();
        out_ << layoutSettingsPage(model_);
    } else if (what == "buttons") {
        requireRunning();
        endpoint_.refreshButtons();
        out_ << layoutButtons(model_);
    } else if (what == "contacts") {
        showContacts();
    } else if (what == "config") {
        showConfig();
    } else if (what == "columns") {
        out_ << "[registered columns]\n";
        for (const ColumnInfo& column : model_.columns.registeredColumns()) {
            out_ << "  " << tableName(column.table) << ' ' << column.id << ' ' << columnName(column.table, column.id)
                 << (column.kind == ValueKind::Int ? " int, default " + std::to_string(column.defaultInt)
                                                   : " text, default " + quotedText(column.defaultText))
                 << '\n';
        }
    } else if (what == "icons") {
        out_ << "[registered icons]\n";
        for (const RegisteredIcon& icon : model_.ui.icons()) {
            out_ << "  icon " << icon.iconId << ": resource " << icon.resource << " of the plugin's module, type "
                 << icon.type << ", options " << icon.options << '\n';
        }
    } else if (what == "messages") {
        out_ << "[chat messages: " << model_.outbox.size() << "]\n";
        for (const OutgoingMessage& message : model_.outbox) {
            out_ << "  " << message.number << " to " << quotedText(message.recipient) << " on net " << message.net
                 << ", type " << message.type << ", flags " << message.flags
                 << (message.queued ? ", queued" : ", not queued") << ": " << quotedText(message.body) << '\n';
        }
    } else {
        usage();
    }
}

void CommandRunner::showContact(int32_t row) {
    requireRunning();
    // The host refreshes a group's elements before it shows them.
    for (const UiElement* group : model_.ui.children(wire::UI_PARENT_CONTACT_INFO)) {
        if (group->kind() != ElementKind::Group) continue;
        for (const UiElement* element : model_.ui.children(group->id)) {
            if (element->id != 0) endpoint_.notifyAction({element->id, element->parent, row}, wire::ACTION_REFRESH);
        }
    }
    const CellValue display = model_.tables.read(model_.columns, wire::CONTACT_TABLE, row, wire::CNT_DISPLAY_NAME);
    out_ << "[contact " << row << ": " << displayText(display.text, false) << "]\n" << layoutContactGroup(model_, row);
}

void CommandRunner::showContacts() {
    out_ << "[contacts: " << model_.tables.contactCount() << "]\n";
    // The host's own columns in their order, then the plugin's by number.
    const auto rank = [](uint32_t column) {
        for (size_t i = 0; i < CONTACT_COLUMN_COUNT; ++i)
            if (CONTACT_COLUMNS[i].id == column) return static_cast<int64_t>(i);
        return static_cast<int64_t>(column) + 100;
    };
    for (int32_t row = 1; row <= model_.tables.contactCount(); ++row) {
        std::vector<uint32_t> columns;
        for (const auto& [column, value] : model_.tables.contactRow(row)) columns.push_back(column);
        std::sort(columns.begin(), columns.end(), [&](uint32_t a, uint32_t b) { return rank(a) < rank(b); });
        out_ << "  " << row;
        for (const uint32_t column : columns) {
            out_ << ' ' << columnName(wire::CONTACT_TABLE, column) << '='
                 << describeValue(wire::CONTACT_TABLE, row, column);
        }
        out_ << '\n';
    }
}

void CommandRunner::showConfig() {
    out_ << "[config]\n";
    std::vector<uint32_t> columns;
    for (const ColumnInfo& column : model_.columns.registeredColumns())
        if (column.table == wire::CONFIG_TABLE) columns.push_back(column.id);
    for (const auto& [column, value] : model_.tables.configRow())
        if (model_.columns.find(wire::CONFIG_TABLE, column) == nullptr) columns.push_back(column);
    std::sort(columns.begin(), columns.end());
    for (const uint32_t column : columns) {
        out_ << "  " << columnName(wire::CONFIG_TABLE, column) << " (" << column
             << ") = " << describeValue(wire::CONFIG_TABLE, wire::CONFIG_ROW, column) << '\n';
    }
}

void CommandRunner::notify(const Words& words) {
    if (words.size() != 5) usage();
    requireRunning();
    const wire::ActionRef element{int32Argument(words[1], "id"), int32Argument(words[2], "parent"),
                                  int32Argument(words[3], "contact")};
    const uint32_t answer = endpoint_.notifyAction(element, static_cast<uint32_t>(int32Argument(words[4], "code")));
    out_ << "= " << answer << '\n';  // after what the plugin made the host show
}

void CommandRunner::message(const Words& words) {
    if (words.size() < 2 || words.size() > 4) usage();
    requireRunning();
    const auto id = static_cast<uint32_t>(int32Argument(words[1], "id"));
    const auto p1 = words.size() > 2 ? static_cast<uint32_t>(int32Argument(words[2], "p1")) : 0u;
    const int32_t size = words.size() > 3 ? int32Argument(words[3], "size") : 30;
    if (size < 6 || size > 30) throw HostError("a message record here has 6 to 30 bytes");
    const uint32_t answer = endpoint_.deliverAsked(id, p1, static_cast<uint16_t>(size));  // before "=": the plugin may make the host show something
    out_ << "= " << describeAnswer(id, answer) << '\n';
}

void CommandRunner::echo(const Words& words) {
    for (size_t i = 1; i < words.size(); ++i) out_ << (i > 1 ? " " : "") << word(words[i]);
    out_ << '\n';
}

void CommandRunner::info(const Words& words) {
    if (words.size() != 1) usage();
    requireRunning();
    const PluginIdentity& identity = endpoint_.identity();
    out_ << "[plugin]\n"
         << "  name " << quotedUtf8(identity.name) << ", version " << quotedUtf8(identity.version) << ", signature "
         << quotedUtf8(identity.signature) << ", net " << identity.net << ", type " << identity.type << '\n';
}

void CommandRunner::quit(const Words& words) {
    if (words.size() != 1) usage();
    throw QuitRequested{};
}

}  // namespace vemora::standin
