// The log's line format. A text becomes one line per line break it holds: the first line is the time
// of writing ("hh:nn:ss"), a blank, the level tag, a blank and the text's first line; every further
// line is five blanks, a blank and the line. In the daily file each line ends with CR LF; the window
// shows it without the break and leaves empty lines out.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/settings/settings.h"

namespace app {

inline constexpr const char* kLogFileLineEnd = "\r\n";
inline constexpr const char* kLogContinuationPrefix = "     ";  // five blanks; the separating blank makes six

// The local time of time as "hh:nn:ss" (24 hours).
std::string LogTimeText(std::chrono::system_clock::time_point time);

// The text's lines, split at CR LF, LF or CR. An empty text has no line; a break at the very end
// starts no further line.
std::vector<std::string> SplitLogText(const std::string& text);

struct TFormattedLogLine {
    std::string Text;        // without line break
    bool ForWindow = false;  // the line's own text is not empty
};
std::vector<TFormattedLogLine> FormatLogLines(const std::string& text, uint8_t level,
                                              std::chrono::system_clock::time_point time);

// The switches of the log: warnings (1), errors (2) and info lines (4) each pass only while their
// setting is on; every other level always passes.
bool LogLevelSwitchedOn(uint8_t level, const engine::TSettings& settings);

}  // namespace app
