#include "app/windows/base/DigitRules.h"

#include <algorithm>
#include <cctype>

namespace app {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsDigitString(const std::string& s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); }

std::string DigitsOnly(const std::string& s) {
    std::string digits;
    std::copy_if(s.begin(), s.end(), std::back_inserter(digits), IsDigit);
    return digits;
}

int NumberTextValue(const std::string& text, int maxValue) {
    if (!IsDigitString(text)) return 0;
    // Accumulate with a cap, so a digit string of any length never overflows.
    int64_t value = 0;
    for (char c : text) {
        value = value * 10 + (c - '0');
        if (value > maxValue) return maxValue;
    }
    return static_cast<int>(value);
}

std::string ClampNumberText(const std::string& text, int maxValue) {
    if (text.empty()) return "0";
    std::string digits = IsDigitString(text) ? text : DigitsOnly(text);
    if (digits.empty()) return "0";
    const std::string maxText = std::to_string(maxValue);
    // Leading zeros do not make a value larger.
    const size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    const std::string significant = digits.substr(first);
    if (significant.size() > maxText.size() || (significant.size() == maxText.size() && significant > maxText))
        return maxText;
    return digits;
}

int32_t DottedTextToIpAddr(const std::string& text) {
    uint32_t addr = 0;
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t dot = part < 3 ? text.find('.', pos) : std::string::npos;
        const std::string piece =
            pos <= text.size() ? text.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos) : "";
        addr = (addr << 8) | static_cast<uint32_t>(NumberTextValue(piece, kMaxOctetValue));
        pos = dot == std::string::npos ? text.size() + 1 : dot + 1;
    }
    return static_cast<int32_t>(addr);
}

}  // namespace app
