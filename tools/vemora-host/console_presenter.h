// How the stand-in shows a person what the plugin makes the host do: the
// notifier's popup (its "<b>" markers as bold on a terminal), the information
// box and the chat messages, each text in a block of lines opened by "| ".
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "host_events.h"

namespace vemora::standin {

class ConsolePresenter : public HostEvents {
public:
    // With `bold`, "<b>" markers switch ANSI bold on and off; without, they
    // are shown as they came, so the exact text stays visible.
    ConsolePresenter(std::ostream& out, std::ostream& warnings, bool bold)
        : out_(out), warnings_(warnings), bold_(bold) {}

    void popupShown(const PopupShown& popup) override;
    void infoBoxShown(const std::string& text) override;
    void messageCreated(const OutgoingMessage& message) override;
    void messageQueued(const OutgoingMessage& message) override;
    void errorReported(int32_t code) override;
    void warning(const std::string& text) override;

private:
    std::ostream& out_;
    std::ostream& warnings_;
    bool bold_;
};

// A text of the plugin's as a block: each line opened by "| ", converted to
// UTF-8; with `bold`, the "<b>" markers toggle ANSI bold instead of showing.
std::string textBlock(std::string_view cp1250, bool bold = false);

// What the notifier makes of a popup's timeout byte.
std::string popupDuration(unsigned timeout);

}  // namespace vemora::standin
