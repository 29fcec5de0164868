// DOS date-time values of zip entries: time in the low 16 bits (seconds / 2 in bits 0-4, minute 5-10,
// hour 11-15), date in the high 16 bits (day 16-20, month 21-24, year - 1980 in 25-31), local time.
#pragma once

#include <cstdint>
#include <ctime>

namespace hollarin {

// The moment as seconds since the epoch, the date-time read as local time of the current time zone.
// False when the value names no calendar date (month 0, 31 February, 25 o'clock...).
bool DosDateTimeToUnix(uint32_t dosDateTime, time_t& out);

}  // namespace hollarin
