// The digit rules of the address and port fields: digit strings, the clamping of a field's text and the
// dotted address text as the shared 32-bit address integer (first octet in the top byte).
#pragma once

#include <cstdint>
#include <string>

namespace app {

constexpr int kMaxOctetValue = 255;
constexpr int kMaxPortValue = 65535;

// True when s is not empty and holds only the characters 0 to 9.
bool IsDigitString(const std::string& s);
// s with every character but 0 to 9 removed.
std::string DigitsOnly(const std::string& s);

// What a number field's text becomes under its rule: an empty text "0", other characters than digits
// dropped, a value above maxValue the text of maxValue. A digit string too long for any integer is
// above every maximum. A text the rule keeps comes back unchanged ("007" stays "007").
std::string ClampNumberText(const std::string& text, int maxValue);

// The value of a digit string, 0 for anything else; a value above maxValue reads maxValue.
int NumberTextValue(const std::string& text, int maxValue);

// "a.b.c.d" as the address integer; parts that are missing or not numbers read 0, parts above 255 read
// 255 (the fields never hold such a text).
int32_t DottedTextToIpAddr(const std::string& text);

}  // namespace app
