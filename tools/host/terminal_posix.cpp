#include <unistd.h>

#include "terminal.h"

namespace vemora::standin {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

}  // namespace vemora::standin
