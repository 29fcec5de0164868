#include "platform/util/utf8_text.h"

namespace platform {
namespace {

constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the character a lead byte starts: 1 for ASCII and for bytes that start none.
size_t CharacterBytes(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// The bytes of the well-formed character that starts at text[at] (Unicode's table of well-formed
// UTF-8 byte sequences); 0 when none starts there. *taken: how many bytes belong to the longest
// beginning of one (at least 1), the stretch that one U+FFFD replaces.
size_t WellFormedCharacter(std::string_view text, size_t at, size_t* taken) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    *taken = 1;
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead == 0xE0) length = 3, low = 0xA0;
    else if (lead == 0xED) length = 3, high = 0x9F;  // no surrogates
    else if (lead >= 0xE1 && lead <= 0xEF) length = 3;
    else if (lead == 0xF0) length = 4, low = 0x90;
    else if (lead == 0xF4) length = 4, high = 0x8F;  // nothing above U+10FFFF
    else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
    else return 0;  // 0x80..0xC1, 0xF5..0xFF start no character
    for (size_t i = 1; i < length; ++i) {
        if (at + i >= text.size()) return 0;
        const unsigned char c = byte(at + i);
        if (i == 1 ? (c < low || c > high) : !IsContinuationByte(c)) return 0;
        *taken = i + 1;
    }
    return length;
}

}  // namespace

std::string Utf8Left(std::string_view text, size_t maxChars) {
    size_t end = 0;
    for (size_t chars = 0; end < text.size() && chars < maxChars; ++chars) {
        const size_t limit = end + CharacterBytes(static_cast<unsigned char>(text[end]));
        ++end;
        while (end < limit && end < text.size() && IsContinuationByte(static_cast<unsigned char>(text[end]))) ++end;
    }
    return std::string(text.substr(0, end));
}

size_t Utf8PrefixLength(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    constexpr size_t kMaxContinuationBytes = 3;  // a UTF-8 character has at most four bytes
    auto isContinuation = [&](size_t i) { return IsContinuationByte(static_cast<unsigned char>(text[i])); };
    // Step back over continuation bytes (10xxxxxx) so the cut falls before a character's first byte;
    // text that is not UTF-8 (a longer run of such bytes) is cut at maxBytes.
    size_t cut = maxBytes;
    while (cut > 0 && maxBytes - cut < kMaxContinuationBytes && isContinuation(cut)) --cut;
    return isContinuation(cut) ? maxBytes : cut;
}

std::string Utf8Repaired(std::string_view text) {
    std::string repaired;
    repaired.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        size_t taken = 0;
        if (const size_t length = WellFormedCharacter(text, at, &taken)) {
            repaired.append(text.substr(at, length));
            at += length;
        } else {
            repaired.append(kReplacementCharacter);
            at += taken;
        }
    }
    return repaired;
}

}  // namespace platform
