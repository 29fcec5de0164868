// UTF-8 text cut by characters or by bytes, never inside a character's bytes, and text from outside
// (another program's window title) made valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The first maxChars characters of text (all of it when it is shorter). A byte that does not start
// a character (text that is not UTF-8) counts as a character of its own.
std::string Utf8Left(std::string_view text, size_t maxChars);

// The longest prefix of text that has at most maxBytes bytes and does not end inside a UTF-8 character.
size_t Utf8PrefixLength(std::string_view text, size_t maxBytes);

// text as valid UTF-8: every stretch of bytes that is no character (a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate, a code point above U+10FFFF) becomes one U+FFFD,
// as the Unicode standard recommends ("maximal subparts"); valid text comes back unchanged.
std::string Utf8Repaired(std::string_view text);

}  // namespace platform
