#include "birthday/birthday_notice.h"
#include "birthday/birthday_list.h"
namespace vemora { int32_t showBirthdayNotice(int32_t) { collectTodaysBirthdays(); return 1; } }  // TEMPORARY: replaced when the notice lands
