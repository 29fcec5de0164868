#include "engine/util/number_strings.h"

#include <algorithm>

namespace engine {

std::string FormatNumStr(const std::string& s, int width, int groupSize, char separator) {
    std::string padded = s;
    if (width > 0 && padded.size() < static_cast<size_t>(width))
        padded.insert(0, static_cast<size_t>(width) - padded.size(), '0');
    if (groupSize <= 0) return padded;
    const size_t group = static_cast<size_t>(groupSize);
    std::string result;
    result.reserve(padded.size() + padded.size() / group);
    for (size_t i = 0; i < padded.size(); ++i) {
        // A separator goes before every character that starts a group counted from the right.
        if (i > 0 && (padded.size() - i) % group == 0) result += separator;
        result += padded[i];
    }
    return result;
}

std::string GroupNumStr(const std::string& s, int groupSize, char separator) {
    return s.empty() ? std::string() : FormatNumStr(s, 0, groupSize, separator);
}

std::string ZeroPadStr(const std::string& s, int width) {
    return s.empty() ? std::string() : FormatNumStr(s, width, 0, ' ');
}

std::string RemoveBlanks(const std::string& s) {
    std::string result = s;
    result.erase(std::remove(result.begin(), result.end(), ' '), result.end());
    return result;
}

}  // namespace engine
