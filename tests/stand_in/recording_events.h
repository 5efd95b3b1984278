// Keeps what the host would show, for tests.
#pragma once

#include <string>
#include <vector>

#include "host_events.h"

namespace vemora::standin {

class RecordingEvents : public HostEvents {
public:
    void popupShown(const PopupShown& popup) override { popups.push_back(popup); }
    void infoBoxShown(const std::string& text) override { infoBoxes.push_back(text); }
    void messageCreated(const OutgoingMessage& message) override { created.push_back(message); }
    void messageQueued(const OutgoingMessage& message) override { queued.push_back(message); }
    void errorReported(int32_t code) override { errors.push_back(code); }
    void warning(const std::string& text) override { warnings.push_back(text); }

    std::vector<PopupShown> popups;
    std::vector<std::string> infoBoxes;
    std::vector<OutgoingMessage> created;
    std::vector<OutgoingMessage> queued;
    std::vector<int32_t> errors;
    std::vector<std::string> warnings;
};

}  // namespace vemora::standin
