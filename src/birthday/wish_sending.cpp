#include "birthday/wish_sending.h"
namespace vemora { int32_t sendWishes() { return 1; } }  // TEMPORARY: replaced when wish sending lands
