// Choosing an option of one of the plugin's radio lists by what a person
// types: the option's number (from 0) or its caption, without regard to
// case ("okienko" chooses "Okienko"). Option n stores n in the bound column.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control_values.h"
#include "host_model.h"

namespace vemora::standin {

// The radio list bound to the column: in the contact group for a contact
// column, on the settings page for a setting. Null when the plugin added none.
const UiElement* radioListFor(const UiModel& ui, uint8_t table, uint32_t column);

// The option's number, for a caption (UTF-8) or a number in range.
std::optional<int32_t> chooseOption(const std::vector<RadioOption>& options, std::string_view wanted);

// "0 Zanthor, 1 Okienko", as messages list them.
std::string listOptions(const std::vector<RadioOption>& options);

}  // namespace vemora::standin
