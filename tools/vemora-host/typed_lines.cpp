#include "typed_lines.h"

namespace vemora::standin {

TypedLines::Result StreamLines::next(std::string& line) {
    if (!std::getline(in_, line)) return Result::End;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return Result::Line;
}

}  // namespace vemora::standin
