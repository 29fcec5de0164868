#include "engine/util/utf8_text.h"

#include <gtest/gtest.h>

namespace {

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
    for (const auto& c : cases) EXPECT_EQ(engine::Utf8Left(c.text, c.maxChars), c.left) << c.text;
}

}  // namespace
