#include "console_presenter.h"

#include "text_display.h"

namespace vemora::standin {

namespace {

constexpr std::string_view BOLD_MARKER = "<b>";
constexpr const char* ANSI_BOLD = "\x1b[1m";
constexpr const char* ANSI_NORMAL = "\x1b[22m";

// One line of a popup: bold state carries over from line to line, but each
// printed line opens and closes its own so the "| " prefix never turns bold.
std::string boldLine(std::string_view line, bool& boldOn) {
    std::string out = boldOn ? ANSI_BOLD : "";
    size_t start = 0;
    while (true) {
        const size_t marker = line.find(BOLD_MARKER, start);
        out += displayText(line.substr(start, marker == std::string_view::npos ? line.npos : marker - start));
        if (marker == std::string_view::npos) break;
        boldOn = !boldOn;
        out += boldOn ? ANSI_BOLD : ANSI_NORMAL;
        start = marker + BOLD_MARKER.size();
    }
    if (boldOn) out += ANSI_NORMAL;
    return out;
}

}  // namespace

std::string textBlock(std::string_view cp1250, bool bold) {
    std::string out;
    bool boldOn = false;
    size_t start = 0;
    while (true) {
        const size_t end = cp1250.find('\n', start);
        const std::string_view line = cp1250.substr(start, end == std::string_view::npos ? cp1250.npos : end - start);
        const std::string shown = bold ? boldLine(line, boldOn) : displayText(line);
        out += shown.empty() ? "|\n" : "| " + shown + "\n";
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return out;
}

std::string popupDuration(unsigned timeout) {
    if (timeout == 255) return "stays until clicked";
    return "hides after " + std::to_string(timeout) + " s";
}

void ConsolePresenter::popupShown(const PopupShown& popup) {
    out_ << "[Zanthor popup, icon " << popup.icon << ", " << popupDuration(popup.timeout) << "]\n"
         << textBlock(popup.text, bold_);
}

void ConsolePresenter::infoBoxShown(const std::string& text) { out_ << "[information box]\n" << textBlock(text); }

void ConsolePresenter::messageCreated(const OutgoingMessage& message) {
    out_ << "[chat message " << message.number << " to " << displayText(message.recipient, false) << " on net "
         << message.net << "]\n"
         << textBlock(message.body);
}

void ConsolePresenter::messageQueued(const OutgoingMessage& message) {
    out_ << "[chat message " << message.number << " queued for sending]\n";
}

void ConsolePresenter::errorReported(int32_t code) { out_ << "[the plugin reported error " << code << "]\n"; }

void ConsolePresenter::warning(const std::string& text) { warnings_ << "vemora-host: warning: " << text << '\n'; }

}  // namespace vemora::standin
