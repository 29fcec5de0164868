// Letter case of ASCII letters only: names, schemes, extensions and keys compared without case, the
// same whatever locale the process runs in.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace platform {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

inline bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

inline bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && EqualsIgnoringCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace platform
