#include "platform/filters/BmpCodec.h"

#include <gtest/gtest.h>

#include <cstring>

namespace platform {
namespace {

TBitmap MakeBitmap(int w, int h) {
    TBitmap b;
    b.Width = w;
    b.Height = h;
    b.Pixels.resize(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = b.Row(y) + 4 * x;
            p[0] = static_cast<uint8_t>(x * 7);
            p[1] = static_cast<uint8_t>(y * 11);
            p[2] = static_cast<uint8_t>(x + y);
            p[3] = 0;
        }
    return b;
}

uint32_t Le32(const std::vector<uint8_t>& v, size_t at) {
    return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}

TEST(BmpCodec, WritesAPlainBottomUp32BitFileAndReadsItBack) {
    const TBitmap in = MakeBitmap(5, 3);
    const std::vector<uint8_t> file = EncodeBmp(in);
    ASSERT_EQ(file.size(), 54u + 5 * 3 * 4);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_EQ(Le32(file, 18), 5u);
    EXPECT_EQ(Le32(file, 22), 3u);  // positive height: bottom-up
    EXPECT_EQ(file[28], 32);
    // The first stored row is the picture's bottom row.
    EXPECT_EQ(0, std::memcmp(file.data() + 54, in.Row(2), 5 * 4));

    TBitmap out;
    std::string error;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), out, &error)) << error;
    EXPECT_EQ(out.Width, 5);
    EXPECT_EQ(out.Height, 3);
    EXPECT_EQ(out.Pixels, in.Pixels);
}

TEST(BmpCodec, WriteFromBottomUpRowsStoresThemUnchanged) {
    const TBitmap in = MakeBitmap(4, 4);
    std::vector<uint8_t> file(BmpFileBytes(4, 4));
    ASSERT_TRUE(WriteBmp32(in.Pixels.data(), 4, 4, TRowOrder::BottomUp, file.data()));
    EXPECT_EQ(0, std::memcmp(file.data() + 54, in.Pixels.data(), in.Pixels.size()));
}

TEST(BmpCodec, ReadsTopDownAnd24BitFilesWithPaddedRows) {
    // 3 x 2 pixels, 24 bits: rows of 9 bytes padded to 12; top-down (negative height).
    std::vector<uint8_t> file(54 + 24, 0);
    file[0] = 'B';
    file[1] = 'M';
    file[10] = 54;
    file[14] = 40;
    file[18] = 3;
    const int32_t negHeight = -2;
    std::memcpy(&file[22], &negHeight, 4);
    file[26] = 1;
    file[28] = 24;
    file[54 + 0] = 10;  // top-left blue
    file[54 + 12 + 8] = 99;  // bottom-right red
    TBitmap out;
    std::string error;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), out, &error)) << error;
    EXPECT_EQ(out.Width, 3);
    EXPECT_EQ(out.Height, 2);
    EXPECT_EQ(out.Row(0)[0], 10);
    EXPECT_EQ(out.Row(1)[4 * 2 + 2], 99);
}

TEST(BmpCodec, RefusesDamagedFilesWithAReason) {
    const std::vector<uint8_t> good = EncodeBmp(MakeBitmap(4, 4));
    struct Case {
        const char* name;
        size_t offset;  // byte to change, or SIZE_MAX to cut the file
        uint8_t value;
        size_t cutTo;
    };
    const Case cases[] = {
        {"no signature", 0, 'X', 0},
        {"8-bit", 28, 8, 0},
        {"RLE compressed", 30, 1, 0},
        {"zero width", 18, 0, 0},
        {"huge width", 21, 0x7F, 0},
        {"pixel offset past the end", 11, 0xFF, 0},
        {"truncated pixels", SIZE_MAX, 0, good.size() - 1},
        {"header only half there", SIZE_MAX, 0, 30},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        if (c.offset == SIZE_MAX)
            bad.resize(c.cutTo);
        else
            bad[c.offset] = c.value;
        TBitmap out;
        std::string error;
        EXPECT_FALSE(DecodeBmp(bad.data(), bad.size(), out, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_TRUE(out.Empty()) << c.name;
    }
}

TEST(BmpCodec, EmptyPictureEncodesToNothing) {
    EXPECT_TRUE(EncodeBmp(TBitmap{}).empty());
    EXPECT_EQ(BmpFileBytes(0, 10), 0u);
}

}  // namespace
}  // namespace platform
