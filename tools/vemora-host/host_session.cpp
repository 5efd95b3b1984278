#include "host_session.h"

#include <cstdio>

#include "host_error.h"
#include "text_display.h"

namespace vemora::standin {

bool answersWithText(uint32_t messageId) {
    const wire::Carriage* carriage = wire::carriageOf(messageId, wire::HOST_NET);
    return carriage != nullptr && carriage->answersText;
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
    identity_.net = deliver(wire::MSG_INFO_NET);
    identity_.type = deliver(wire::MSG_INFO_TYPE);
    identity_.version = identityText(wire::MSG_INFO_VERSION);
    identity_.signature = identityText(wire::MSG_INFO_SIGNATURE);
    identity_.name = identityText(wire::MSG_INFO_NAME);
    return identity_;
}

void HostSession::startUp() {
    deliver(wire::MSG_INIT, wire::wordOf(endpoint_.control()));
    deliver(wire::MSG_SETCOLUMNS);
    deliver(wire::MSG_UI_PREPARE);
    deliver(wire::MSG_START);
    refreshButtons();
}

void HostSession::stop() {
    if (!running()) return;
    deliver(wire::MSG_DEINIT);
    library_.reset();
    model_.ui.clear();
}

std::string HostSession::identityText(uint32_t id) {
    const uint32_t answer = deliver(id);
    return answer == 0 ? std::string() : displayText(static_cast<const char*>(wire::addressOf(answer)), false);
}

uint32_t HostSession::deliver(uint32_t id, uint32_t p1, uint16_t size) {
    wire::MessageRecord record{};
    record.header.size = size;
    record.header.id = id;
    record.p1 = p1;
    return call(&record, id);
}

uint32_t HostSession::deliverAsked(uint32_t id, uint32_t parameter, uint16_t size) {
    wire::ActionNotifyRecord notice{};
    uint32_t p1 = parameter;
    if (id == wire::MSG_INIT) {
        p1 = parameter == 0 ? 0 : wire::wordOf(endpoint_.control());
    } else if (id == wire::MSG_UI_ACTION && parameter != 0) {
        wire::ActionRef element{static_cast<int32_t>(parameter), 0, wire::NO_CONTACT};
        for (const UiElement& known : model_.ui.elements())
            if (known.id == element.id) element.parent = known.parent;
        notice = {sizeof notice, element, wire::ACTION_PRESSED};
        p1 = wire::wordOf(&notice);
    }
    return deliver(id, p1, size);
}

uint32_t HostSession::notifyAction(const wire::ActionRef& element, uint32_t code) {
    const wire::ActionNotifyRecord notice{sizeof notice, element, code};
    return deliver(wire::MSG_UI_ACTION, wire::wordOf(&notice));
}

void HostSession::refreshButtons() {
    for (const UiElement* button : model_.ui.children(static_cast<int32_t>(BUTTON_GROUP))) {
        if (button->kind() == ElementKind::Button && button->id != 0) {
            notifyAction({button->id, button->parent, wire::NO_CONTACT}, wire::ACTION_REFRESH);
        }
    }
}

uint32_t HostSession::call(const void* record, uint32_t id) {
    if (!running()) throw HostError("the plugin is not running (use start first)");
    if (trace_ != nullptr) {
        trace_->call(true, "IMessageProc " + wire::messageName(id, wire::HOST_NET),
                     describeRequest(wire::decodeRequest(record)));
    }
    const uint32_t answer = library_->entryPoint()(record);
    if (trace_ != nullptr) {
        std::string shown = std::to_string(answer);
        if (answersWithText(id) && answer != 0) {
            char address[16];
            std::snprintf(address, sizeof address, "0x%08X", answer);
            shown = address + (" " + quotedText(static_cast<const char*>(wire::addressOf(answer))));
        }
        trace_->answer(shown);
    }
    if (std::optional<std::string> failure = endpoint_.takeFailure()) throw HostError(*failure);
    return answer;
}

}  // namespace vemora::standin
