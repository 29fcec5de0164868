// Small text routines of the settings store: share-folder names, run times and local times.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace engine {

// A copy of text with every character outside "0"-"9", "A"-"X", "a"-"x" and "_" replaced by "_"
// (Y, Z, y and z are replaced too: stored folder names were made this way).
std::string SanitizeName(const std::string& text);

// Appended to the sanitised computer name of a default share folder; empty.
std::string HostDirSuffix();

struct TRunTime {
    int Hours = 0;    // whole hours modulo 24
    int Minutes = 0;  // 0 .. 59
    int Secs = 0;     // 0 .. 59
    std::string Text = "000:00:00";  // hours padded to 3, minutes and seconds to 2
};
// Negative run times count as 0.
TRunTime FormatRunTime(int64_t seconds);

// The local time in a strftime format ("%H:%M:%S": the time of day as "hh:nn:ss"); empty when it
// does not fit 127 characters.
std::string FormatLocalTime(std::chrono::system_clock::time_point time, const std::string& format);

}  // namespace engine
