// The text of one value element in the XML lists and capture files. Integers are decimal with an
// optional sign, or hexadecimal after "$" or "0x"; booleans are True or False in any case, or an
// integer (non-zero is true). Blanks around the text are ignored; anything else makes it unreadable.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine {

std::optional<int64_t> ParseXmlInteger(std::string_view text);
std::optional<bool> ParseXmlBool(std::string_view text);

}  // namespace engine
