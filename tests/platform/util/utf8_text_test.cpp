#include "platform/util/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kE = "\xC3\xA9";               // é, 2 bytes
const std::string kEuro = "\xE2\x82\xAC";        // €, 3 bytes
const std::string kClef = "\xF0\x9D\x84\x9E";    // 𝄞, 4 bytes
const std::string kFffd = "\xEF\xBF\xBD";        // U+FFFD

TEST(Utf8Text, LeftCountsCharactersNotBytes) {
    const struct {
        const char* text;
        size_t maxChars;
        const char* left;
    } cases[] = {
        {"Courier New", 100, "Courier New"},
        {"Courier New", 7, "Courier"},
        {"\xC3\x9C" "bersicht", 2, "\xC3\x9C" "b"},             // two-byte character kept whole
        {"\xE2\x82\xAC\xF0\x9F\x98\x80x", 2, "\xE2\x82\xAC\xF0\x9F\x98\x80"},  // three and four bytes
        {"a\x80\x80" "b", 2, "a\x80"},                          // stray continuation bytes count singly
        {"abc", 0, ""},
        {"", 5, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::Utf8Left(c.text, c.maxChars), c.left) << c.text;
}

TEST(Utf8Text, ByteCutsNeverSplitACharacter) {
    const struct {
        std::string text;
        size_t maxBytes;
        size_t expected;
    } cases[] = {
        {"abc", 5, 3},
        {"abcdef", 3, 3},
        {"ab" + kE, 3, 2},  // é would be cut in half
        {"ab" + kE, 4, 4},
        {"a" + kEuro + "b", 2, 1},
        {"a" + kEuro + "b", 3, 1},
        {"a" + kEuro + "b", 4, 4},
        {"a" + kClef, 4, 1},
        {"a" + kClef, 5, 5},
        {std::string(10, '\x80'), 5, 5},  // not UTF-8 at all: cut at the byte count
        {"", 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::Utf8PrefixLength(c.text, c.maxBytes), c.expected) << c.text;
}

// Valid text is kept; each stretch that is no character becomes one U+FFFD (the examples of the
// Unicode standard's "maximal subparts" among them).
TEST(Utf8Text, RepairedReplacesWhatIsNoCharacter) {
    const struct {
        const char* what;
        std::string text;
        std::string repaired;
    } cases[] = {
        {"valid", "a" + kE + kEuro + kClef + "\xE6\x97\xA5", "a" + kE + kEuro + kClef + "\xE6\x97\xA5"},
        {"empty", "", ""},
        {"stray continuation bytes", "a\x80\xBF" "b", "a" + kFffd + kFffd + "b"},
        {"sequence cut short in the middle", "a\xE2\x82" "b", "a" + kFffd + "b"},
        {"sequence cut short at the end", "ab\xF0\x9D\x84", "ab" + kFffd},
        {"lead byte that starts nothing", "\xC0\xAF\xF5\x80", kFffd + kFffd + kFffd + kFffd},
        {"overlong three-byte form", "\xE0\x80\xAF", kFffd + kFffd + kFffd},
        {"surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd},
        {"above U+10FFFF", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd},
        {"Latin-1 text", "Caf\xE9 au lait", "Caf" + kFffd + " au lait"},
        {"NUL kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::Utf8Repaired(c.text), c.repaired) << c.what;
}

}  // namespace
