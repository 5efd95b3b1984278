// One run of vemora-host: state file in, commands, state file out.
#pragma once

#include <istream>
#include <ostream>

#include "options.h"

namespace vemora::standin {

// Returns the exit status: 0, or 1 after a one-line error on `errors`.
int runHost(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors);

}  // namespace vemora::standin
