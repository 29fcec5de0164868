// Cutting UTF-8 text by characters, as limits given in characters mean (a font name of at most 100
// characters), never inside a character's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// The first maxChars characters of text (all of it when it is shorter). A byte that does not start
// a character (text that is not UTF-8) counts as a character of its own.
std::string Utf8Left(std::string_view text, size_t maxChars);

}  // namespace engine
