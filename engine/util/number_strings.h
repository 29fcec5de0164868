// Number texts: leading zeros to a width, digit groups with a separator, blanks removed. Every
// character of the text counts alike (a sign is grouped like a digit: "-123" by 3 gives "-.123").
#pragma once

#include <string>

namespace engine {

// Pads s with leading "0" to width, then, when groupSize > 0, puts separator between groups of
// groupSize characters counted from the right end.
std::string FormatNumStr(const std::string& s, int width, int groupSize, char separator);
// "" for "", else FormatNumStr(s, 0, groupSize, separator).
std::string GroupNumStr(const std::string& s, int groupSize, char separator);
// "" for "", else s left-padded with "0" to width (never cut).
std::string ZeroPadStr(const std::string& s, int width);
// s without any blank (character 32); tabs and everything else stay in order.
std::string RemoveBlanks(const std::string& s);

}  // namespace engine
