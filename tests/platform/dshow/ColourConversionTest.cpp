#include "platform/dshow/ColourConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// A bottom-up RGB32 picture filled by a function of the top-down position.
template <class F>
std::vector<uint8_t> MakeRgb32(int w, int h, F colourAt) {
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colourAt(x, y);  // 0xRRGGBB
            uint8_t* p = &px[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
            p[3] = 0;
        }
    return px;
}

TEST(ColourConversion, Bt601LimitedRangeOfPlainColours) {
    struct Case {
        uint32_t rgb;
        int y, u, v;
    };
    const Case cases[] = {
        {0xFF0000, 81, 90, 240},   // red
        {0x00FF00, 145, 54, 34},   // green
        {0x0000FF, 41, 240, 110},  // blue
        {0xFFFFFF, 235, 128, 128},
        {0x000000, 16, 128, 128},
        {0x808080, 126, 128, 128},
    };
    for (const Case& c : cases) {
        const auto px = MakeRgb32(4, 2, [&](int, int) { return c.rgb; });
        std::vector<uint8_t> yv12(PictureBytes(TPictureFormat::Yv12, 4, 2));
        ASSERT_TRUE(ConvertRgb32(px.data(), 4, 2, TPictureFormat::Yv12, yv12.data()));
        // Y: 8 bytes, V: 2 bytes, U: 2 bytes.
        EXPECT_NEAR(yv12[0], c.y, 1) << std::hex << c.rgb;
        EXPECT_NEAR(yv12[8], c.v, 1) << std::hex << c.rgb;
        EXPECT_NEAR(yv12[10], c.u, 1) << std::hex << c.rgb;
        const TYuv one = RgbToYuv(c.rgb >> 16, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF);
        EXPECT_EQ(one.Y, yv12[0]);
        EXPECT_EQ(one.V, yv12[8]);
        EXPECT_EQ(one.U, yv12[10]);
    }
    // The converter's 8-bit coefficients (66, 129, 25 for Y) put pure red one step off the exact
    // values 81.5 and 239.9.
    const TYuv red = RgbToYuv(255, 0, 0);
    EXPECT_EQ(red.Y, 82);
    EXPECT_EQ(red.U, 90);
    EXPECT_EQ(red.V, 239);
}

TEST(ColourConversion, PlanesAreTopDownInTheirOrder) {
    // Top half red, bottom half blue; left and right halves equal.
    const int w = 4, h = 4;
    const auto px = MakeRgb32(w, h, [](int, int y) { return y < 2 ? 0xFF0000u : 0x0000FFu; });
    const TYuv red = RgbToYuv(255, 0, 0), blue = RgbToYuv(0, 0, 255);
    for (TPictureFormat f : {TPictureFormat::Yv12, TPictureFormat::I420}) {
        std::vector<uint8_t> out(PictureBytes(f, w, h));
        ASSERT_EQ(out.size(), 16u + 4u + 4u);
        ASSERT_TRUE(ConvertRgb32(px.data(), w, h, f, out.data()));
        EXPECT_EQ(out[0], red.Y);    // first Y row is the top of the picture
        EXPECT_EQ(out[15], blue.Y);  // last Y row is the bottom
        const uint8_t* first = &out[16];
        const uint8_t* second = &out[20];
        const uint8_t* u = f == TPictureFormat::I420 ? first : second;
        const uint8_t* v = f == TPictureFormat::I420 ? second : first;
        EXPECT_EQ(u[0], red.U);
        EXPECT_EQ(v[0], red.V);
        EXPECT_EQ(u[2], blue.U);  // second chroma row
        EXPECT_EQ(v[3], blue.V);
    }
}

TEST(ColourConversion, ChromaAveragesEachTwoByTwoBlock) {
    // Columns alternate black and white: every block holds two of each.
    const auto px = MakeRgb32(4, 2, [](int x, int) { return x % 2 ? 0xFFFFFFu : 0u; });
    std::vector<uint8_t> out(PictureBytes(TPictureFormat::I420, 4, 2));
    ASSERT_TRUE(ConvertRgb32(px.data(), 4, 2, TPictureFormat::I420, out.data()));
    EXPECT_EQ(out[0], 16);
    EXPECT_EQ(out[1], 235);
    EXPECT_EQ(out[8], 128);  // grey has no colour
    EXPECT_EQ(out[10], 128);
}

TEST(ColourConversion, OddSizesRoundTheChromaUp) {
    const int w = 5, h = 3;
    const auto px = MakeRgb32(w, h, [](int x, int y) { return x == 4 && y == 2 ? 0xFF0000u : 0x00FF00u; });
    std::vector<uint8_t> out(PictureBytes(TPictureFormat::Yv12, w, h));
    ASSERT_EQ(out.size(), 15u + 2u * 3u * 2u);
    ASSERT_TRUE(ConvertRgb32(px.data(), w, h, TPictureFormat::Yv12, out.data()));
    const TYuv red = RgbToYuv(255, 0, 0), green = RgbToYuv(0, 255, 0);
    EXPECT_EQ(out[14], red.Y);  // bottom-right luma
    // The bottom-right chroma sample covers the lone red pixel only.
    const uint8_t* v = &out[15];
    const uint8_t* u = &out[15 + 6];
    EXPECT_EQ(v[5], red.V);
    EXPECT_EQ(u[5], red.U);
    EXPECT_EQ(v[0], green.V);
}

TEST(ColourConversion, RgbOutputsKeepTheBottomUpOrder) {
    const int w = 3, h = 2;
    const auto px = MakeRgb32(w, h, [](int x, int y) { return static_cast<uint32_t>((y * 3 + x) * 0x010203); });
    std::vector<uint8_t> rgb24(PictureBytes(TPictureFormat::Rgb24, w, h), 0xCC);
    ASSERT_EQ(RgbRowBytes(TPictureFormat::Rgb24, w), 12u);  // 9 bytes padded to 12
    ASSERT_TRUE(ConvertRgb32(px.data(), w, h, TPictureFormat::Rgb24, rgb24.data()));
    for (int row = 0; row < h; ++row) {
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(rgb24[row * 12 + x * 3 + c], px[(row * w + x) * 4 + c]);
        for (int pad = 9; pad < 12; ++pad) EXPECT_EQ(rgb24[row * 12 + pad], 0);
    }
    std::vector<uint8_t> rgb32(PictureBytes(TPictureFormat::Rgb32, w, h));
    ASSERT_TRUE(ConvertRgb32(px.data(), w, h, TPictureFormat::Rgb32, rgb32.data()));
    EXPECT_EQ(rgb32, px);
}

TEST(ColourConversion, TopDownSourcesGiveTheSamePictures) {
    // The same picture stored bottom-up and top-down converts to the same output in every format.
    const int w = 6, h = 4;
    const auto bottomUp = MakeRgb32(w, h, [](int x, int y) { return static_cast<uint32_t>((y * 40 + x * 7) * 0x010305); });
    std::vector<uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < h; ++row)
        std::copy_n(&bottomUp[static_cast<size_t>(h - 1 - row) * w * 4], w * 4, &topDown[static_cast<size_t>(row) * w * 4]);
    for (TPictureFormat f : {TPictureFormat::Rgb32, TPictureFormat::Rgb24, TPictureFormat::Yv12, TPictureFormat::I420}) {
        std::vector<uint8_t> a(PictureBytes(f, w, h)), b(PictureBytes(f, w, h));
        ASSERT_TRUE(ConvertRgb32(bottomUp.data(), w, h, f, a.data(), TRowOrder::BottomUp));
        ASSERT_TRUE(ConvertRgb32(topDown.data(), w, h, f, b.data(), TRowOrder::TopDown));
        EXPECT_EQ(a, b) << static_cast<int>(f);
    }
}

TEST(ColourConversion, RefusesEmptyPictures) {
    uint8_t byte = 0;
    EXPECT_FALSE(ConvertRgb32(&byte, 0, 4, TPictureFormat::Yv12, &byte));
    EXPECT_FALSE(ConvertRgb32(&byte, 4, -1, TPictureFormat::Rgb24, &byte));
    EXPECT_EQ(PictureBytes(TPictureFormat::I420, 0, 10), 0u);
}

}  // namespace
}  // namespace platform
