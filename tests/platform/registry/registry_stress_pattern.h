// The values the stress writer stores in round n, and the check that a value read back is one of
// them whole: a blob of one repeated byte whose length follows from the byte, and a text that names
// its round as often as its length says.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace stress {

constexpr const char* kKey = "Software\\Stress";
constexpr size_t kBlobBaseBytes = 200 * 1024;

inline std::vector<uint8_t> BlobOfRound(uint32_t n) {
    auto fill = static_cast<uint8_t>(n & 0xff);
    return std::vector<uint8_t>(kBlobBaseBytes + (fill % 13) * 1000, fill);
}

inline bool IsWholeBlob(const std::vector<uint8_t>& blob) {
    if (blob.empty()) return false;
    return blob == BlobOfRound(blob[0]);
}

inline std::string TextOfRound(uint32_t n) {
    std::string text;
    for (uint32_t i = 0; i < 1000 + n % 50; ++i) text += "round " + std::to_string(n) + ";\n";
    return text;
}

inline bool IsWholeText(const std::string& text) {
    auto space = text.find(' '), semi = text.find(';');
    if (space == std::string::npos || semi == std::string::npos || semi < space) return false;
    return text == TextOfRound(static_cast<uint32_t>(std::stoul(text.substr(space + 1, semi - space - 1))));
}

}  // namespace stress
