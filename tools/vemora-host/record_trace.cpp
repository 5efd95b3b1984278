#include "record_trace.h"

#include <cstdio>
#include <cstring>

#include "text_display.h"

namespace vemora::standin {

namespace {

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string fieldValue(const wire::DecodedRecord& record, const wire::Field& field) {
    const auto text = record.texts.find(field.offset);
    if (text != record.texts.end()) {
        if (!text->second) return "null";
        return hex32(record.word(field.offset)) + " " + quotedText(*text->second);
    }
    uint32_t value = 0;
    std::memcpy(&value, record.bytes.data() + field.offset, field.width < 4 ? field.width : 4);
    switch (field.show) {
        case wire::Show::Number:
            return std::to_string(static_cast<int32_t>(value));
        case wire::Show::Hex:
            return hex32(value);
        case wire::Show::Id: {
            const std::string name = wire::messageName(value, record.word(offsetof(wire::MessageHeader, net)));
            return std::to_string(static_cast<int32_t>(value)) + (name.empty() ? "" : " " + name);
        }
        case wire::Show::Action: {
            const auto action = wire::readRecord<wire::ActionRef>(record.bytes.data() + field.offset);
            return "(id " + std::to_string(action.id) + ", parent " + std::to_string(action.parent) + ", contact " +
                   std::to_string(action.contact) + ")";
        }
    }
    return {};
}

// Hex bytes, 16 to a line.
std::vector<std::string> hexLines(const void* bytes, size_t size) {
    std::vector<std::string> lines;
    const auto* at = static_cast<const unsigned char*>(bytes);
    for (size_t start = 0; start < size; start += 16) {
        std::string line = "  ";
        char cell[4];
        for (size_t i = start; i < size && i < start + 16; ++i) {
            std::snprintf(cell, sizeof cell, " %02x", at[i]);
            line += cell;
        }
        lines.push_back(line);
    }
    return lines;
}

// "Layout { field=value, ... }" for every field the bytes read reach, then the bytes.
std::vector<std::string> describeRecord(const wire::DecodedRecord& record) {
    std::string line = std::string(record.layout->name) + " {";
    bool first = true;
    for (const wire::Field& field : record.layout->fields) {
        if (field.offset + field.width > record.bytes.size()) continue;
        line += (first ? " " : ", ") + std::string(field.name) + "=" + fieldValue(record, field);
        first = false;
    }
    std::vector<std::string> lines{line + " }"};
    for (std::string& hex : hexLines(record.bytes.data(), record.bytes.size())) lines.push_back(std::move(hex));
    return lines;
}

}  // namespace

std::vector<std::string> describeRequest(const wire::Request& request) {
    if (request.record.layout == nullptr) return {};
    std::vector<std::string> lines = describeRecord(request.record);
    if (request.p1Record) {
        bool first = true;
        for (const std::string& line : describeRecord(*request.p1Record)) {
            lines.push_back((first ? "p1 → " : "     ") + line);
            first = false;
        }
    }
    return lines;
}

std::vector<std::string> describeValueRecord(const wire::ValueRecord& value, bool answered) {
    wire::DecodedRecord record;
    record.layout = &wire::VALUE_RECORD_LAYOUT;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    record.bytes.assign(bytes, bytes + sizeof value);
    if (answered && value.type == wire::VALUE_TEXT) {
        std::optional<std::string>& text = record.texts[offsetof(wire::ValueRecord, value)];
        if (value.value != 0) text = static_cast<const char*>(wire::addressOf(value.value));
    }
    return describeRecord(record);
}

void BoundaryTrace::call(bool intoPlugin, const std::string& what, const std::vector<std::string>& details) {
    line(depth_, std::string(intoPlugin ? "→ " : "← ") + what);
    for (const std::string& detail : details) line(depth_ + 1, detail);
    ++depth_;
}

void BoundaryTrace::answer(const std::string& what, const std::vector<std::string>& details) {
    if (depth_ > 0) --depth_;
    line(depth_ + 1, "= " + what);
    for (const std::string& detail : details) line(depth_ + 2, detail);
}

void BoundaryTrace::line(int depth, const std::string& text) {
    out_ << std::string(static_cast<size_t>(depth) * 2, ' ') << text << '\n';
}

}  // namespace vemora::standin
