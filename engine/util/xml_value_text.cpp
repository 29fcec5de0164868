#include "engine/util/xml_value_text.h"

#include "platform/util/ascii_case.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace engine {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<int64_t> ParseXmlInteger(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    // The magnitude unsigned, so the most negative value reads as well as the others.
    uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    constexpr auto kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (magnitude > kMaxPositive + (negative ? 1 : 0)) return std::nullopt;
    if (!negative) return static_cast<int64_t>(magnitude);
    return magnitude == kMaxPositive + 1 ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(magnitude);
}

std::optional<bool> ParseXmlBool(std::string_view text) {
    const std::string_view word = Trim(text);
    if (platform::EqualsIgnoringCase(word, "True")) return true;
    if (platform::EqualsIgnoringCase(word, "False")) return false;
    if (const auto number = ParseXmlInteger(word)) return *number != 0;
    return std::nullopt;
}

}  // namespace engine
