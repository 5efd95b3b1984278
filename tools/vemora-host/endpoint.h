// The host's side of the boundary: the plugin's library loaded and started
// as the messenger does it (identity, init, columns, user interface, start),
// every later message delivered through its IMessageProc, and the answers to
// every request it makes through the control handed over with MSG_INIT.
//
// A text the host answers (a cell read, a control's value) is valid exactly
// as long as the plugin may rely on it, and is then overwritten: until the
// plugin's next call into the host begins, or, for a contact's uid, until
// the next REQ_MESSAGE_NEW has returned. A plugin that keeps one longer
// sends visibly wrong bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "host_model.h"
#include "platform.h"
#include "wire/answered_texts.h"
#include "wire/host_binding.h"

namespace vemora::standin {

class BoundaryTrace;

struct PopupShown {
    std::string text;  // code page 1250, with the notifier's "<b>" markers
    uint32_t icon = 0;
    uint8_t timeout = 0;
};

// What a person sees of the plugin's requests, and the host's warnings about
// requests it cannot make sense of. Unwatched, each event passes unseen.
class HostEvents {
public:
    virtual ~HostEvents() = default;
    virtual void popupShown(const PopupShown&) {}
    virtual void infoBoxShown(const std::string&) {}
    virtual void messageCreated(const OutgoingMessage&) {}
    virtual void messageQueued(const OutgoingMessage&) {}
    virtual void errorReported(int32_t) {}
    virtual void warning(const std::string&) {}
};

struct PluginIdentity {
    uint32_t net = 0;
    uint32_t type = 0;
    std::string version;  // UTF-8
    std::string signature;
    std::string name;
};

class HostEndpoint {
public:
    HostEndpoint(HostModel& model, HostEvents& events, std::string pluginPath);
    ~HostEndpoint();
    HostEndpoint(const HostEndpoint&) = delete;
    HostEndpoint& operator=(const HostEndpoint&) = delete;

    void setTrace(BoundaryTrace* trace) { trace_ = trace; }
    wire::HostControl* control() { return binding_.control(); }
    bool running() const { return library_ != nullptr; }

    // Loads the library and asks the plugin who it is.
    const PluginIdentity& load();
    const PluginIdentity& identity() const { return identity_; }
    // Init, columns, user interface and start; then the buttons are brought
    // up to date, as the host does before it shows them.
    void startUp();
    // MSG_DEINIT; the library is unloaded and its elements dropped.
    void stop();

    // One MessageRecord of `size` bytes (a bare header below 30) to
    // IMessageProc. Throws HostError when the plugin is not running, or when
    // an answer of the host's failed while the plugin ran.
    uint32_t deliver(uint32_t id, uint32_t p1 = 0, uint16_t size = 30);
    // As the "message" command asks: `parameter` is never an address.
    // MSG_INIT gets the host's own control (0: none), MSG_UI_ACTION a notice
    // that the element with that id was used (0: none); any other message
    // carries it as it is.
    uint32_t deliverAsked(uint32_t id, uint32_t parameter, uint16_t size);
    // MSG_UI_ACTION: an event of one element.
    uint32_t notifyAction(const wire::ActionRef& element, uint32_t code);
    // ACTION_REFRESH for every plugin button.
    void refreshButtons();

    // Each of the plugin's calls, through the binding.
    uint32_t onOperation(wire::OperationCall& call);

private:
    uint32_t answer(wire::OperationCall& call);
    uint32_t onRequest(const wire::Request& request);
    uint32_t onColumnRegister(const wire::DecodedRecord& record);
    uint32_t onMessageNew(const wire::DecodedRecord& record);
    uint32_t onMessageQueue(const wire::DecodedRecord& record);
    uint32_t onActionAdd(const wire::DecodedRecord& record);
    uint32_t onIconRegister(const wire::DecodedRecord& record);
    uint32_t onActionSetStatus(const wire::DecodedRecord& record);
    uint32_t onActionGetValue(const wire::DecodedRecord& record);
    uint32_t onGetValue(const wire::OperationCall& call, wire::ValueRecord& value);
    uint32_t onSetValue(const wire::OperationCall& call, const wire::ValueRecord& value);
    bool checkCell(const char* operation, bool writing, uint32_t table, int32_t row, uint32_t column);
    std::string identityText(uint32_t id);
    void warn(const std::string& text) { events_.warning(text); }

    HostModel& model_;
    HostEvents& events_;
    std::string pluginPath_;
    wire::HostBinding<HostEndpoint> binding_{*this};
    wire::AnsweredTexts texts_{wire::AnsweredTexts::OnExpiry::Overwrite};
    std::unique_ptr<PluginLibrary> library_;
    BoundaryTrace* trace_ = nullptr;
    PluginIdentity identity_;
    std::set<std::pair<uint32_t, uint32_t>> unknownColumnsSeen_;
    std::optional<std::string> failure_;  // of an answer, taken once the plugin has returned
};

}  // namespace vemora::standin
