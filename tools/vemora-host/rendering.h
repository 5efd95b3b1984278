// How the stand-in shows a person what the plugin makes the host do: its
// settings page, contact group and buttons laid out as text; the notifier's
// popup, the information box and the chat messages as blocks of lines
// opened by "| "; and, with --trace, every record crossing the boundary.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "endpoint.h"
#include "host_model.h"
#include "wire/requests.h"

namespace vemora::standin {

std::string layoutSettingsPage(const HostModel& model);
std::string layoutContactGroup(const HostModel& model, int32_t contact);
std::string layoutButtons(const HostModel& model);

// A plugin text as a block: each line opened by "| ", in UTF-8.
std::string textBlock(std::string_view cp1250);

class ConsolePresenter : public HostEvents {
public:
    ConsolePresenter(std::ostream& out, std::ostream& warnings) : out_(out), warnings_(warnings) {}

    void popupShown(const PopupShown& popup) override;
    void infoBoxShown(const std::string& text) override;
    void messageCreated(const OutgoingMessage& message) override;
    void messageQueued(const OutgoingMessage& message) override;
    void errorReported(int32_t code) override;
    void warning(const std::string& text) override;

private:
    std::ostream& out_;
    std::ostream& warnings_;
};

// --trace: each call decoded field by field as the protocol's table lays it
// out, with its bytes in hex. Calls into the plugin are marked "→", the
// plugin's calls into the host "←", answers "="; calls made while one runs
// are indented beneath it.
class BoundaryTrace {
public:
    explicit BoundaryTrace(std::ostream& out) : out_(out) {}

    void call(bool intoPlugin, const std::string& what, const std::vector<std::string>& details);
    void answer(const std::string& what, const std::vector<std::string>& details = {});

private:
    void line(int depth, const std::string& text);

    std::ostream& out_;
    int depth_ = 0;
};

// IMessageProc's answer to a message: a number, or for a message answered
// with a text its address and the text ("0x0012ABCD "Vem"").
std::string describeAnswer(uint32_t messageId, uint32_t answer);

// A record as handed to IMessageProc or to sendMessage, and the record its p1
// points to.
std::vector<std::string> describeRequest(const wire::Request& request);
// A cell value; `answered`: as the host left it, a text's address followed.
std::vector<std::string> describeValueRecord(const wire::ValueRecord& value, bool answered);

}  // namespace vemora::standin
