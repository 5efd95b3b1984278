// Whether standard output goes to a terminal (then bold can be shown).
#pragma once

namespace vemora::standin {

bool standardOutputIsTerminal();

}  // namespace vemora::standin
