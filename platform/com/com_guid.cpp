#include <cstdio>

#include "platform/com/com.h"

namespace {

// "{" 8 "-" 4 "-" 4 "-" 4 "-" 12 "}"
constexpr size_t kGuidTextLength = 38;
constexpr size_t kDashPositions[] = {9, 14, 19, 24};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string GuidToString(const GUID& g) {
    char text[kGuidTextLength + 1];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

std::optional<GUID> StringToGuid(std::string_view text) {
    if (text.size() != kGuidTextLength || text.front() != '{' || text.back() != '}') return std::nullopt;
    // The 32 hexadecimal digits in order, the dashes checked in their places.
    uint8_t bytes[16];
    size_t digit = 0;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        bool dashPlace = false;
        for (size_t d : kDashPositions) dashPlace |= i == d;
        if (dashPlace) {
            if (text[i] != '-') return std::nullopt;
            continue;
        }
        int value = HexDigit(text[i]);
        if (value < 0) return std::nullopt;
        if (digit % 2 == 0)
            bytes[digit / 2] = static_cast<uint8_t>(value << 4);
        else
            bytes[digit / 2] |= static_cast<uint8_t>(value);
        ++digit;
    }
    GUID g{};
    g.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    g.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
    return g;
}
