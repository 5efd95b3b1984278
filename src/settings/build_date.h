// The day this library was built, shown on the settings page.
#pragma once

namespace vemora {

// "Mmm dd yyyy": English month, day padded with a space, year ("Mar  9 2004").
// Taken from SOURCE_DATE_EPOCH when the build sets it, so that a rebuild of
// the same sources gives the same library.
extern const char BUILD_DATE[12];

}  // namespace vemora
