// The snapshot encoders: what they write must read back as the picture they were given.
#include "engine/capture/workers/ImageEncoders.h"

#include <gtest/gtest.h>

#include "tests/engine/capture/workers/image_thread_test_helpers.h"

namespace {

using engine::TBmpEncoder;
using engine::TJpegEncoder;
using engine::TPngEncoder;
using fw_test::TestPicture;

std::string Bytes(const engine::TImageEncoder& e) { return std::string(e.Bytes()); }

TEST(ImageEncodersTest, PngIsLosslessAtEveryLevelAndSmallerWhenCompressed) {
    const platform::TBitmap picture = TestPicture(123, 45);  // odd width: rows are not a multiple of 8
    size_t level0 = 0, level9 = 0;
    for (int level : {0, 1, 6, 9}) {
        TPngEncoder png(level);
        ASSERT_TRUE(png.Encode(picture)) << level;
        const std::string bytes = Bytes(png);
        EXPECT_EQ(fw_test::PngSize(bytes), std::make_pair(123, 45));
        EXPECT_EQ(fw_test::MaxChannelDifference(fw_test::DecodePng(bytes), picture), 0) << level;
        if (level == 0) level0 = bytes.size();
        if (level == 9) level9 = bytes.size();
    }
    EXPECT_LT(level9, level0);
}

TEST(ImageEncodersTest, JpegKeepsThePictureAndQualityDecidesTheSize) {
    const platform::TBitmap picture = TestPicture(200, 120);
    TJpegEncoder high(95), low(20);
    ASSERT_TRUE(high.Encode(picture));
    ASSERT_TRUE(low.Encode(picture));
    EXPECT_TRUE(fw_test::HasJpegSoi(Bytes(high)));
    EXPECT_LT(Bytes(low).size(), Bytes(high).size());
    const platform::TBitmap back = fw_test::DecodeJpeg(Bytes(high));
    EXPECT_EQ(back.Width, 200);
    EXPECT_EQ(back.Height, 120);
    EXPECT_LT(fw_test::MeanChannelDifference(back, picture), 6.0);  // lossy, but the same picture
}

TEST(ImageEncodersTest, OneEncoderServesPicturesOfChangingSizes) {
    TJpegEncoder jpeg(80);
    TPngEncoder png(6);
    for (auto [w, h] : {std::pair{640, 480}, std::pair{1, 1}, std::pair{33, 17}}) {
        const platform::TBitmap picture = TestPicture(w, h);
        ASSERT_TRUE(jpeg.Encode(picture));
        ASSERT_TRUE(png.Encode(picture));
        const platform::TBitmap j = fw_test::DecodeJpeg(Bytes(jpeg));
        EXPECT_EQ(std::make_pair(j.Width, j.Height), std::make_pair(w, h));
        EXPECT_EQ(fw_test::PngSize(Bytes(png)), std::make_pair(w, h));
    }
}

TEST(ImageEncodersTest, SettingsOutsideTheirRangeTakeTheNearestLimit) {
    EXPECT_EQ(TPngEncoder(-3).Level(), 0);
    EXPECT_EQ(TPngEncoder(42).Level(), 9);
    EXPECT_EQ(TJpegEncoder(0).Quality(), 1);
    EXPECT_EQ(TJpegEncoder(300).Quality(), 100);
    // The clamped encoders still write usable files.
    TJpegEncoder jpeg(300);
    ASSERT_TRUE(jpeg.Encode(TestPicture(8, 8)));
    EXPECT_TRUE(fw_test::HasJpegSoi(Bytes(jpeg)));
}

TEST(ImageEncodersTest, BmpGoesThroughTheProgramsOwnCodec) {
    const platform::TBitmap picture = TestPicture(31, 9);
    TBmpEncoder bmp;
    ASSERT_TRUE(bmp.Encode(picture));
    platform::TBitmap back;
    const std::string bytes = Bytes(bmp);
    ASSERT_TRUE(platform::DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), back));
    EXPECT_EQ(fw_test::MaxChannelDifference(back, picture), 0);
}

TEST(ImageEncodersTest, BrokenPicturesAreRefusedWithAReason) {
    platform::TBitmap empty;
    platform::TBitmap short_ = TestPicture(10, 10);
    short_.Pixels.resize(40);  // claims 10x10 but holds one row
    for (const platform::TBitmap* picture : {&empty, &short_}) {
        TPngEncoder png(6);
        TJpegEncoder jpeg(80);
        TBmpEncoder bmp;
        for (engine::TImageEncoder* e : std::initializer_list<engine::TImageEncoder*>{&png, &jpeg, &bmp}) {
            std::string error;
            EXPECT_FALSE(e->Encode(*picture, &error));
            EXPECT_NE(error.find("empty picture"), std::string::npos) << error;
        }
    }
}

TEST(ImageEncodersTest, SnapshotFormatsPickTheirEncoder) {
    EXPECT_NE(dynamic_cast<TPngEncoder*>(engine::MakeSnapshotEncoder(0, 9, 95).get()), nullptr);
    EXPECT_NE(dynamic_cast<TJpegEncoder*>(engine::MakeSnapshotEncoder(1, 9, 95).get()), nullptr);
    EXPECT_NE(dynamic_cast<TBmpEncoder*>(engine::MakeSnapshotEncoder(2, 9, 95).get()), nullptr);
    EXPECT_EQ(engine::MakeSnapshotEncoder(3, 9, 95), nullptr);
}

}  // namespace
