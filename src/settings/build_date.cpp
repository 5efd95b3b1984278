// The build keeps this object in step with the calendar (cmake/build_date.cmake):
// it is recompiled whenever the build day changes, not only when sources do.
#include "settings/build_date.h"

namespace vemora {

static_assert(sizeof(__DATE__) == sizeof(BUILD_DATE), "the compiler's date is not eleven characters");
const char BUILD_DATE[12] = __DATE__;

}  // namespace vemora
