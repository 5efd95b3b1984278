// One run of vemora-host: state file in, commands, state file out.
#pragma once

#include <istream>
#include <ostream>

#include "options.h"
#include "typed_lines.h"

namespace vemora::standin {

// Returns the exit status: 0; 1 after a one-line error on `errors` when the
// run failed (a write to `out` or `errors` that failed included); 2 when the
// command line asks for what cannot be done. The run holds the state file's
// lock from start to end (state_lock.h). The state file is written only when
// the run changed the tables and did not fail. At a terminal
// (options.interactive) the lines come from `typed` (from `in` when it is
// null), a failed command is reported and the session goes on; the prompt
// goes to `errors`.
int runHost(const Options& options, std::istream& in, std::ostream& out, std::ostream& errors,
            TypedLines* typed = nullptr);

}  // namespace vemora::standin
