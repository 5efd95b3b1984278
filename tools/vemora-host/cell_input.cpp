#include "cell_input.h"

#include "birth_date_text.h"
#include "column_catalog.h"
#include "gender_words.h"
#include "host_error.h"
#include "radio_choice.h"
#include "text_display.h"
#include "wire/ids.h"

namespace vemora::standin {

namespace {

constexpr const char* RAW_HINT = " (\"set --raw\" writes any number)";

std::optional<int32_t> anyNumber(const std::string& text) {
    const std::optional<int64_t> number = commandNumber(text);
    if (!number || *number < INT32_MIN || *number > UINT32_MAX) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*number));
}

int32_t birthDate(const std::string& name, const std::string& text) {
    if (const std::optional<CivilDate> date = parseBirthDate(text)) return packBirthDate(*date);
    if (hasBirthDateForm(text)) throw HostError("column " + name + ": " + quotedUtf8(text) + " " + whyNotABirthDate(text));
    if (const std::optional<int32_t> packed = anyNumber(text)) return *packed;
    throw HostError("column " + name + " takes a date (" + BIRTH_DATE_FORMS + ") or the packed number, not " +
                    quotedUtf8(text));
}

int32_t gender(const std::string& name, const std::string& text, bool raw) {
    if (const std::optional<int32_t> code = genderCode(text)) return *code;
    if (raw) {
        if (const std::optional<int32_t> number = anyNumber(text)) return *number;
    }
    throw HostError("column " + name + " takes " + GENDER_WORDS + "; not " + quotedUtf8(text) + RAW_HINT);
}

int32_t option(const HostModel& model, bool running, uint8_t table, uint32_t column, const std::string& text) {
    const std::string name = columnName(table, column);
    if (!running) {
        throw HostError("column " + name +
                        ": the values the plugin offers for it are known once it runs; use start first, or \"set "
                        "--raw\" to write any number");
    }
    const std::optional<int32_t> number = anyNumber(text);
    const UiElement* radio = radioListFor(model.ui, table, column);
    if (radio == nullptr) {
        if (!number) throw HostError("column " + name + " holds numbers, not " + quotedUtf8(text));
        return *number;
    }
    const std::vector<RadioOption> options = radioOptions(radio->text.value_or(""));
    if (const std::optional<int32_t> chosen = chooseOption(options, text)) return *chosen;
    throw HostError("column " + name + " takes one of the options the plugin offers for it (" + listOptions(options) +
                    "), not " + quotedUtf8(text) + RAW_HINT);
}

}  // namespace

CellValue cellInput(const HostModel& model, bool running, uint8_t table, uint32_t column, const Token& token,
                    bool raw) {
    const ColumnInfo* info = model.columns.find(table, column);
    if (info->kind == ValueKind::Text) {
        std::string error;
        std::optional<std::string> converted = tokenCp1250(token, error);
        if (!converted) throw HostError(error);
        return CellValue::ofText(*converted);
    }
    const std::string text = tokenText(token);
    const std::string name = columnName(table, column);
    if (table == wire::CONTACT_TABLE && column == wire::CNT_BIRTH_DATE) {
        return CellValue::ofInt(birthDate(name, text));
    }
    if (table == wire::CONTACT_TABLE && column == wire::CNT_GENDER_CODE) {
        return CellValue::ofInt(gender(name, text, raw));
    }
    if (info->registered && !raw) return CellValue::ofInt(option(model, running, table, column, text));
    if (const std::optional<int32_t> number = anyNumber(text)) return CellValue::ofInt(*number);
    throw HostError("column " + name + " holds numbers, not " + quotedUtf8(text));
}

}  // namespace vemora::standin
