// How the editors read the text of a number field, and the PID fields' decimal/hexadecimal toggle.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace app {

// Optional leading blanks and sign, then decimal digits, or hexadecimal digits after "$", "x", "X",
// "0x" or "0X". Reading stops at the first character that does not belong and takes the value read up
// to there; a text with no digit at all (the empty text included) reads 0. Values beyond the 32-bit
// range saturate.
int32_t ReadNumberField(const std::string& text);

// The strict reading used where a bad text must leave a value unchanged: the whole text is one
// decimal or "$"/"0x" hexadecimal integer in the 32-bit range.
std::optional<int32_t> ParseIntegerText(const std::string& text);

// A double click on a PID field: "0x..." read as hexadecimal becomes decimal; a decimal text becomes
// "0x" + four upper-case hexadecimal digits; a text that cannot be read stays as it is.
std::string TogglePidText(const std::string& text);

}  // namespace app
