// What "set" writes into a cell, from the word a person typed. A text column
// takes any text the plugin's code page holds. A number column takes what
// the host or the plugin offers for it:
//   birth-date  a date (birth_date_text.h) or the packed number
//   gender      the words of gender_words.h
//   a column the plugin binds to a radio list: one of the options its
//               page offers, by number or caption (radio_choice.h)
//   any other   a number
// With `raw`, a number column takes any 32-bit number, for trying what the
// plugin does with values its pages never offer.
#pragma once

#include <cstdint>

#include "host_model.h"
#include "host_tables.h"
#include "script_tokens.h"

namespace vemora::standin {

// `running`: whether the plugin runs, and so whether its pages are known.
// Throws HostError naming the column and what it takes.
CellValue cellInput(const HostModel& model, bool running, uint8_t table, uint32_t column, const Token& token,
                    bool raw);

}  // namespace vemora::standin
