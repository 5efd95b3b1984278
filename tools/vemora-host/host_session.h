// One run of a plugin in the host: loading its library, the start sequence
// (init, columns, UI, start), the messages the host sends it afterwards, and
// the stop. Every message goes through the library's IMessageProc only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host_endpoint.h"
#include "host_events.h"
#include "host_model.h"
#include "plugin_library.h"
#include "record_trace.h"

namespace vemora::standin {

struct PluginIdentity {
    uint32_t net = 0;
    uint32_t type = 0;
    std::string version;  // UTF-8
    std::string signature;
    std::string name;
};

class HostSession {
public:
    HostSession(HostModel& model, HostEvents& events, std::string pluginPath);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    void setTrace(BoundaryTrace* trace);
    wire::HostControl* control() { return endpoint_.control(); }

    bool running() const { return library_ != nullptr; }
    // Loads the library and asks the plugin who it is.
    const PluginIdentity& load();
    // The start sequence (init, columns, UI, start), then the plugin's buttons
    // are brought up to date as the host does before showing them.
    void startUp();
    // MSG_DEINIT, then the library is unloaded and its UI elements dropped.
    void stop();
    const PluginIdentity& identity() const { return identity_; }
    // The running library's module handle (what getPluginModule answers).
    void* moduleHandle() const { return library_ ? library_->moduleHandle() : nullptr; }

    // One record to IMessageProc: a MessageRecord of `size` bytes (a bare
    // header when below 30).
    uint32_t deliver(uint32_t id, uint32_t p1 = 0, uint16_t size = 30);
    // A message as the user's "message" command asks for it: `parameter` is
    // never an address. MSG_INIT gets the host's own control (0: none),
    // MSG_UI_ACTION a notice built here that the element with that id was
    // used (0: none); any other message carries it as it is.
    uint32_t deliverAsked(uint32_t id, uint32_t parameter, uint16_t size);
    // MSG_UI_ACTION: an event (ACTION_PRESSED, ACTION_REFRESH) of one element.
    uint32_t notifyAction(const wire::ActionRef& element, uint32_t code);
    // ACTION_REFRESH for every plugin button.
    void refreshButtons();

    HostModel& model() { return model_; }

private:
    uint32_t call(const void* record, uint32_t id);
    std::string identityText(uint32_t id);

    HostModel& model_;
    HostEvents& events_;
    std::string pluginPath_;
    HostEndpoint endpoint_;
    std::unique_ptr<PluginLibrary> library_;
    BoundaryTrace* trace_ = nullptr;
    PluginIdentity identity_;
};

// Answers of IMessageProc that are addresses of texts rather than numbers.
bool answersWithText(uint32_t messageId);

}  // namespace vemora::standin
