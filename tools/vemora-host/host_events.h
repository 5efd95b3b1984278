// What a person would see of the plugin's requests: the notifier's popup, the
// information box, chat messages, and the host's own warnings about requests
// it could not make sense of.
#pragma once

#include <cstdint>
#include <string>

#include "outbox.h"

namespace vemora::standin {

struct PopupShown {
    std::string text;  // code page 1250, with the notifier's "<b>" markers
    uint32_t icon = 0;
    uint8_t timeout = 0;
    uint8_t style = 0;
};

class HostEvents {
public:
    virtual ~HostEvents() = default;
    virtual void popupShown(const PopupShown& popup) = 0;
    virtual void infoBoxShown(const std::string& text) = 0;
    virtual void messageCreated(const OutgoingMessage& message) = 0;
    virtual void messageQueued(const OutgoingMessage& message) = 0;
    virtual void errorReported(int32_t code) = 0;
    virtual void warning(const std::string& text) = 0;
};

// For measurements: sees nothing.
class SilentEvents : public HostEvents {
public:
    void popupShown(const PopupShown&) override {}
    void infoBoxShown(const std::string&) override {}
    void messageCreated(const OutgoingMessage&) override {}
    void messageQueued(const OutgoingMessage&) override {}
    void errorReported(int32_t) override {}
    void warning(const std::string&) override {}
};

}  // namespace vemora::standin
