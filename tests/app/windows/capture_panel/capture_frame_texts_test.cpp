// The texts of the capture panel and the share tabs.
#include <gtest/gtest.h>

#include "app/windows/capture_panel/CaptureFrameTexts.h"

namespace {

using namespace app;

// One pixel per character: the widths are the text lengths.
int Length(const std::string& text) { return static_cast<int>(text.size()); }

TEST(CaptureFrameTextsTest, TitleIsWholeUpTo170PixelsAndCutTo160WithDotsBeyond) {
    EXPECT_EQ(FitTitle(std::string(170, 'a'), Length), std::string(170, 'a'));
    EXPECT_EQ(FitTitle(std::string(171, 'a'), Length), std::string(160, 'a') + "...");
    EXPECT_EQ(FitTitle("", Length), "");
    // A text that never gets narrow enough ends empty.
    EXPECT_EQ(FitTitle("abc", [](const std::string&) { return 500; }), "...");
    // Cutting never splits a character of several bytes.
    const std::string umlauts = [] {
        std::string s;
        for (int i = 0; i < 100; ++i) s += "\xC3\xBC";
        return s;
    }();
    const std::string cut = FitTitle(umlauts, Length);
    EXPECT_EQ(cut, umlauts.substr(0, 160) + "...");
}

TEST(CaptureFrameTextsTest, SettingTablesAndUnknownValues) {
    EXPECT_EQ(CaptureMethodText(0), "VLC");
    EXPECT_EQ(CaptureMethodText(2), "System");
    EXPECT_FALSE(CaptureMethodText(3));
    EXPECT_EQ(SourceKindText(4)->Text, "UDP");
    EXPECT_EQ(SourceKindText(4)->Scheme, 6);
    EXPECT_EQ(SourceKindText(3)->Text, "Desk-Area");
    EXPECT_FALSE(SourceKindText(6));
    EXPECT_EQ(VideoCodecText(5), "H.265");
    EXPECT_FALSE(VideoCodecText(6));
    EXPECT_EQ(AudioCodecText(2), "MP3");
    EXPECT_EQ(SnapshotFormatText(2), "BMP");
    EXPECT_EQ(PixelFormatOf(3).Text, "15 bit");
    EXPECT_EQ(PixelFormatOf(9).Bits, 0);
    EXPECT_FALSE(PixelFormatOf(9).Text);
}

TEST(CaptureFrameTextsTest, WatchedFolderFormatAndConversion) {
    struct Case {
        uint8_t format;
        TConversionSettings conversion;
        const char* text;
        const char* convert;
    };
    const Case cases[] = {
        {0, {true, true, false, false}, "BMP", "JPG"},
        {0, {true, true, true, false}, "BMP", "PNG"},
        {0, {false, true, true, false}, "BMP", ""},
        {2, {false, false, false, true}, "SVG", "PNG"},
        {2, {true, true, true, false}, "SVG", ""},
        {4, {true, true, true, true}, "Unk", ""},
    };
    for (const Case& c : cases) {
        const TFileFormatText t = FileFormatText(c.format, c.conversion);
        EXPECT_EQ(t.Format, c.text);
        EXPECT_EQ(t.Convert, c.convert);
    }
    EXPECT_FALSE(FileFormatText(5, {}).Format);
}

TEST(CaptureFrameTextsTest, NumbersSizesAndRunTime) {
    EXPECT_EQ(BitmapKiloBytesText(24, 1920, 1080, '.'), "6.221");
    EXPECT_EQ(BitmapKiloBytesText(0, 1920, 1080, ','), "0");
    EXPECT_EQ(KiloBytesText(1, ','), "1");
    EXPECT_EQ(KiloBytesText(999, ','), "1");
    EXPECT_EQ(KiloBytesText(1999, ','), "1");
    EXPECT_EQ(KiloBytesText(12345678, ','), "12,345");
    EXPECT_EQ(RunTimeText(1, 2, 5), "001:02:05");
    EXPECT_EQ(RunTimeText(123, 59, 9), "123:59:09");
    TLocaleSettings german;
    german.ThousandSeparator = '.';
    german.DecimalSeparator = ',';
    EXPECT_EQ(FormatDecimal(1234.56, 1, true, german), "1.234,6");
    EXPECT_EQ(FormatDecimal(1234.56, 2, false, german), "1234,56");
    EXPECT_EQ(FormatDecimal(2.0, 1, true, TLocaleSettings{}), "2.0");
}

}  // namespace
