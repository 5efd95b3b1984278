// The plugin's pages as the host lays them out, in plain text: the settings
// page, a contact's group and the button bar. Labels share a line with the
// control they caption; radio lists show their options with the chosen one
// marked; text fields show their text in brackets.
#pragma once

#include <cstdint>
#include <string>

#include "host_model.h"

namespace vemora::standin {

// Every page the plugin added to the settings window.
std::string layoutSettingsPage(const HostModel& model);
// Every group the plugin added to a contact's information window, with the
// values of this contact.
std::string layoutContactGroup(const HostModel& model, int32_t contact);
std::string layoutButtons(const HostModel& model);

// A text field's caption: its text after the leading byte 0x01 (code page 1250).
std::string fieldCaption(const UiElement& field);

}  // namespace vemora::standin
