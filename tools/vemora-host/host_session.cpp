#include "host_session.h"

#include <cstdio>

#include "host/messages.h"
#include "host_error.h"
#include "text_display.h"
#include "wire_records.h"

namespace vemora::standin {

bool answersWithText(uint32_t messageId) {
    return messageId == MSG_INFO_VERSION || messageId == MSG_INFO_SIGNATURE || messageId == MSG_INFO_NAME;
}

HostSession::HostSession(HostModel& model, HostEvents& events, std::string pluginPath)
    : model_(model), events_(events), pluginPath_(std::move(pluginPath)), endpoint_(model, events) {}

HostSession::~HostSession() {
    try {
        if (running()) stop();
    } catch (...) {  // a destructor must not throw; the library is closed regardless
        library_.reset();
    }
}

void HostSession::setTrace(BoundaryTrace* trace) {
    trace_ = trace;
    endpoint_.setTrace(trace);
}

const PluginIdentity& HostSession::load() {
    if (running()) throw HostError("the plugin is already running");
    library_ = openPluginLibrary(pluginPath_);
    endpoint_.setModule(library_->moduleHandle());
    model_.ui.clear();

    identity_ = {};
    identity_.net = deliver(MSG_INFO_NET);
    identity_.type = deliver(MSG_INFO_TYPE);
    identity_.version = identityText(MSG_INFO_VERSION);
    identity_.signature = identityText(MSG_INFO_SIGNATURE);
    identity_.name = identityText(MSG_INFO_NAME);
    return identity_;
}

void HostSession::startUp() {
    deliver(MSG_INIT, wordOf(endpoint_.control()));
    deliver(MSG_SETCOLUMNS);
    deliver(MSG_UI_PREPARE);
    deliver(MSG_START);
    refreshButtons();
}

void HostSession::stop() {
    if (!running()) return;
    deliver(MSG_DEINIT);
    library_.reset();
    model_.ui.clear();
}

std::string HostSession::identityText(uint32_t id) {
    const uint32_t answer = deliver(id);
    return answer == 0 ? std::string() : displayText(static_cast<const char*>(addressOf(answer)), false);
}

uint32_t HostSession::deliver(uint32_t id, uint32_t p1, uint16_t size) {
    WireMessage record{};
    record.header.size = size;
    record.header.id = id;
    record.p1 = p1;
    return call(&record, id);
}

uint32_t HostSession::deliverAsked(uint32_t id, uint32_t parameter, uint16_t size) {
    WireActionNotify notice{};
    uint32_t p1 = parameter;
    if (id == MSG_INIT) {
        p1 = parameter == 0 ? 0 : wordOf(endpoint_.control());
    } else if (id == MSG_UI_ACTION && parameter != 0) {
        int32_t parent = 0;
        for (const UiElement& element : model_.ui.elements())
            if (element.id == static_cast<int32_t>(parameter)) parent = element.parent;
        notice.size = sizeof notice;
        notice.action = {static_cast<int32_t>(parameter), parent, -2};
        notice.code = ACTION_USED;
        p1 = wordOf(&notice);
    }
    return deliver(id, p1, size);
}

uint32_t HostSession::notifyAction(int32_t id, int32_t parent, int32_t contact, uint32_t code) {
    WireActionNotify notice{};
    notice.size = sizeof notice;
    notice.action = {id, parent, contact};
    notice.code = code;
    return deliver(MSG_UI_ACTION, wordOf(&notice));
}

void HostSession::refreshButtons() {
    for (const UiElement* button : model_.ui.children(static_cast<int32_t>(BUTTON_GROUP))) {
        if (button->kind() == ElementKind::Button && button->id != 0) {
            notifyAction(button->id, button->parent, -2, ACTION_REFRESH);
        }
    }
}

uint32_t HostSession::call(const void* record, uint32_t id) {
    if (!running()) throw HostError("the plugin is not running (use start first)");
    if (trace_ != nullptr) trace_->call(true, "IMessageProc " + messageName(id, 0), describeMessage(record));
    uint32_t answer = 0;
    {
        CallMeter::Stretch stretch(meter_);
        answer = library_->entryPoint()(record);
    }
    if (trace_ != nullptr) {
        std::string shown = std::to_string(answer);
        if (answersWithText(id) && answer != 0) {
            char address[16];
            std::snprintf(address, sizeof address, "0x%08X", answer);
            shown = address + (" " + quotedText(static_cast<const char*>(addressOf(answer))));
        }
        trace_->answer(shown);
    }
    if (std::optional<std::string> failure = endpoint_.takeFailure()) throw HostError(*failure);
    return answer;
}

}  // namespace vemora::standin
