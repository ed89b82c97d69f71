// The local time of a moment, thread-safe on either platform (localtime_r; localtime_s on
// Windows).
#pragma once

#include <ctime>

namespace vn {

std::tm LocalTime(std::time_t moment);

}  // namespace vn
