#include "installer/zip/dos_date_time.h"

namespace hollarin {

bool DosDateTimeToUnix(uint32_t dosDateTime, time_t& out) {
    const int year = int((dosDateTime >> 25) & 0x7F) + 1980;
    const int month = int((dosDateTime >> 21) & 0x0F);
    const int day = int((dosDateTime >> 16) & 0x1F);
    const int hour = int((dosDateTime >> 11) & 0x1F);
    const int minute = int((dosDateTime >> 5) & 0x3F);
    const int second = int(dosDateTime & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return false;
    struct tm tm {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;  // the zone's rules decide whether summer time applies
    const time_t t = std::mktime(&tm);
    if (t == time_t(-1)) return false;
    if (tm.tm_mday != day || tm.tm_mon != month - 1) return false;  // normalised: no such day
    out = t;
    return true;
}

}  // namespace hollarin
