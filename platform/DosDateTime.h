#pragma once
// Local date and time in the packed MS-DOS form of the ZIP format.

#include <cstdint>

#include "platform/Types.h"

namespace qvn::platform {

struct DosDateTime {
  std::uint16_t date = 0;  // bits 15-9 year - 1980, 8-5 month, 4-0 day
  std::uint16_t time = 0;  // bits 15-11 hour, 10-5 minute, 4-0 second / 2
};

// Seconds are rounded down to two-second steps. Dates before 1980 become 1 January 1980
// 00:00:00 and dates after 2107 the last moment of 2107, the range the form can hold.
DosDateTime ToDosDateTime(const LocalDateTime& time);

}  // namespace qvn::platform
