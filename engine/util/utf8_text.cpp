#include "engine/util/utf8_text.h"

namespace engine {
namespace {

bool IsContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the character a lead byte starts: 1 for ASCII and for bytes that start none.
size_t CharacterBytes(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
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

}  // namespace engine
