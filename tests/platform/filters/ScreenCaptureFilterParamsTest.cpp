#include "platform/filters/ScreenCaptureFilterParams.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

namespace r = screen_capture_record;

TEST(ScreenCaptureRecord, Utf8CutsNeverSplitACharacter) {
    struct Case {
        std::string text;
        size_t maxBytes;
        size_t expected;
    };
    const std::string e = "\xC3\xA9";          // 2 bytes
    const std::string euro = "\xE2\x82\xAC";   // 3 bytes
    const std::string clef = "\xF0\x9D\x84\x9E";  // 4 bytes
    const Case cases[] = {
        {"abc", 5, 3},
        {"abcdef", 3, 3},
        {"ab" + e, 3, 2},             // é would be cut in half
        {"ab" + e, 4, 4},
        {"a" + euro + "b", 2, 1},
        {"a" + euro + "b", 3, 1},
        {"a" + euro + "b", 4, 4},
        {"a" + clef, 4, 1},
        {"a" + clef, 5, 5},
        {std::string(10, '\x80'), 5, 5},  // not UTF-8 at all: cut at the byte count
        {"", 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8PrefixLength(c.text, c.maxBytes), c.expected) << c.text;
}

TEST(ScreenCaptureRecord, ShortStringsFillTheirFieldAndReadBack) {
    TScreenCaptureFilterParams rec;
    std::memset(&rec, 0xEE, sizeof rec);
    r::PutShortString(rec, r::kTimeDisplayFont, r::kFontField, std::string(150, 'F'));
    EXPECT_EQ(rec.Bytes[574], 100);
    EXPECT_EQ(rec.Bytes[575], 'F');
    EXPECT_EQ(rec.Bytes[674], 'F');
    EXPECT_EQ(rec.Bytes[675], 0xEE);  // the byte after the field is untouched
    EXPECT_EQ(r::GetShortString(rec, r::kTimeDisplayFont, r::kFontField), std::string(100, 'F'));

    r::PutShortString(rec, r::kWindowClass, r::kWindowTextField, "Calc");
    EXPECT_EQ(rec.Bytes[28], 4);
    for (size_t i = 33; i < 284; ++i) ASSERT_EQ(rec.Bytes[i], 0) << i;  // the rest of the field is zero
}

TEST(ScreenCaptureRecord, DamagedLengthByteReadsAsTheWholeField) {
    TScreenCaptureFilterParams rec{};
    rec.Bytes[r::kTimeDisplayFont] = 200;
    EXPECT_EQ(r::GetShortString(rec, r::kTimeDisplayFont, r::kFontField).size(), 100u);
}

TEST(ScreenCaptureRecord, IntegersAreLittleEndian) {
    TScreenCaptureFilterParams rec{};
    r::PutInt32(rec, r::kLeft, -2);
    EXPECT_EQ(rec.Bytes[12], 0xFE);
    EXPECT_EQ(rec.Bytes[15], 0xFF);
    r::PutInt32(rec, r::kWidth, 0x01020304);
    EXPECT_EQ(rec.Bytes[20], 4);
    EXPECT_EQ(rec.Bytes[23], 1);
    EXPECT_EQ(r::GetInt32(rec, r::kLeft), -2);
    EXPECT_EQ(r::GetInt32(rec, r::kWidth), 0x01020304);
}

}  // namespace
