#include "platform/filters/ScreenCaptureFilterParams.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

namespace r = screen_capture_record;

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
