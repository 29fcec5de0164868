#include "app/windows/editors/NumberFieldText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

namespace app {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct TReadResult {
    int64_t Value = 0;
    size_t End = 0;       // position after the last character read
    bool HasDigits = false;
};

// Reads from the start of text as far as the number goes; saturates at the 32-bit limits.
TReadResult ReadPrefix(const std::string& text, bool skipBlanks) {
    TReadResult result;
    size_t pos = 0;
    if (skipBlanks)
        while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    int base = 10;
    if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    while (pos < text.size()) {
        const int digit = base == 16 ? HexDigitValue(text[pos]) : (std::isdigit(static_cast<unsigned char>(text[pos])) ? text[pos] - '0' : -1);
        if (digit < 0) break;
        value = std::min(value * base + digit, kLimit);
        result.HasDigits = true;
        ++pos;
    }
    if (negative) value = -value;
    result.Value = std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    result.End = pos;
    return result;
}

}  // namespace

int32_t ReadNumberField(const std::string& text) {
    const TReadResult read = ReadPrefix(text, true);
    return read.HasDigits ? static_cast<int32_t>(read.Value) : 0;
}

std::optional<int32_t> ParseIntegerText(const std::string& text) {
    const TReadResult read = ReadPrefix(text, true);
    if (!read.HasDigits || read.End != text.size()) return std::nullopt;
    return static_cast<int32_t>(read.Value);
}

std::string TogglePidText(const std::string& text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::optional<int32_t> value = ParseIntegerText(text);
        return value ? std::to_string(*value) : text;
    }
    bool decimal = !text.empty();
    for (char c : text) decimal = decimal && std::isdigit(static_cast<unsigned char>(c));
    if (!decimal) return text;
    const std::optional<int32_t> value = ParseIntegerText(text);
    if (!value) return text;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(*value));
    return buffer;
}

}  // namespace app
