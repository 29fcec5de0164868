#include "engine/graphs/FgScreenCaptureInput.h"

#include <gtest/gtest.h>

#include <cstring>

namespace engine {
namespace {

// Reads the record the way the filter's side sees it on the wire: literal offsets, little-endian.
uint32_t U32(const TScreenCaptureFilterParams& rec, size_t at) {
    return rec.Bytes[at] | (rec.Bytes[at + 1] << 8) | (rec.Bytes[at + 2] << 16) |
           (static_cast<uint32_t>(rec.Bytes[at + 3]) << 24);
}

TFgScreenCaptureInput DistinctInput() {
    TFgScreenCaptureInput in;
    in.CaptureMode = 2;
    in.WindowClass = "XTerm";
    in.WindowCaption = "shell";
    in.Left = -1280;
    in.Top = 16;
    in.Width = 1920;
    in.Height = 1088;
    in.OutWidth = 960;
    in.OutHeight = 544;
    in.FrameRate = 25;
    in.ScalePercent = 50;
    in.MonitorNo = 3;
    in.CaptureMouse = 1;
    in.PixelFormat = 6;
    in.SnapshotOutput = 1;
    in.ImageFreq = 7;
    in.TimeDisplayActive = 1;
    in.TimeDisplayPos = 0x1234;  // only the low byte travels
    in.TimeDisplayFont = "Arial";
    in.TimeDisplaySize = 14;
    in.TimeDisplayColor = 0x00112233;
    in.TimeDisplayBold = 1;
    in.TimeDisplayBkColor = 0x00445566;
    in.TimeDisplayTransparent = 1;
    in.Reserved1 = in.Reserved2 = in.Reserved3 = in.Reserved4 = 99;  // never sent
    in.VideoOutput = 1;
    return in;
}

TEST(ScreenCaptureFilterParams, EveryFieldAtItsOffset) {
    const TScreenCaptureFilterParams rec = PackScreenCaptureFilterParams(DistinctInput());
    EXPECT_EQ(rec.Bytes[0], 2);
    EXPECT_EQ(rec.Bytes[4], 4);  // ParamsKind
    EXPECT_EQ(U32(rec, 8), 50u);
    EXPECT_EQ(static_cast<int32_t>(U32(rec, 12)), -1280);
    EXPECT_EQ(U32(rec, 16), 16u);
    EXPECT_EQ(U32(rec, 20), 1920u);
    EXPECT_EQ(U32(rec, 24), 1088u);
    EXPECT_EQ(rec.Bytes[28], 5);
    EXPECT_EQ(0, std::memcmp(&rec.Bytes[29], "XTerm", 5));
    EXPECT_EQ(rec.Bytes[284], 5);
    EXPECT_EQ(0, std::memcmp(&rec.Bytes[285], "shell", 5));
    EXPECT_EQ(U32(rec, 540), 25u);
    EXPECT_EQ(U32(rec, 544), 3u);
    EXPECT_EQ(rec.Bytes[548], 1);
    EXPECT_EQ(U32(rec, 552), 960u);
    EXPECT_EQ(U32(rec, 556), 544u);
    EXPECT_EQ(rec.Bytes[560], 6);
    EXPECT_EQ(rec.Bytes[564], 1);
    EXPECT_EQ(U32(rec, 568), 7u);
    EXPECT_EQ(rec.Bytes[572], 1);
    EXPECT_EQ(rec.Bytes[573], 0x34);
    EXPECT_EQ(rec.Bytes[574], 5);
    EXPECT_EQ(0, std::memcmp(&rec.Bytes[575], "Arial", 5));
    EXPECT_EQ(U32(rec, 676), 14u);
    EXPECT_EQ(U32(rec, 680), 0x00112233u);
    EXPECT_EQ(rec.Bytes[684], 1);
    EXPECT_EQ(U32(rec, 688), 0x00445566u);
    EXPECT_EQ(rec.Bytes[692], 1);
    EXPECT_EQ(rec.Bytes[712], 1);
}

TEST(ScreenCaptureFilterParams, GapsAndReservedBytesAreZero) {
    const TScreenCaptureFilterParams rec = PackScreenCaptureFilterParams(DistinctInput());
    struct Gap {
        size_t from, to;  // to exclusive
    };
    const Gap gaps[] = {{1, 4}, {5, 8}, {34, 284}, {290, 540}, {549, 552}, {561, 564}, {565, 568},
                        {580, 676}, {685, 688}, {693, 712}, {713, 716}};
    for (const Gap& g : gaps)
        for (size_t i = g.from; i < g.to; ++i) ASSERT_EQ(rec.Bytes[i], 0) << "byte " << i;
}

TEST(ScreenCaptureFilterParams, LongTextsAreCutToTheirFields) {
    TFgScreenCaptureInput in;
    in.WindowCaption = std::string(300, 'c');
    in.WindowClass = std::string(254, 'k') + "\xC3\xA9";  // 256 bytes; the é does not fit whole
    in.TimeDisplayFont = std::string(120, 'f');
    const TScreenCaptureFilterParams rec = PackScreenCaptureFilterParams(in);
    EXPECT_EQ(rec.Bytes[284], 255);
    EXPECT_EQ(rec.Bytes[284 + 255], 'c');
    EXPECT_EQ(U32(rec, 540), 0u);  // nothing spilt into the frame rate
    EXPECT_EQ(rec.Bytes[28], 254);
    EXPECT_EQ(rec.Bytes[28 + 255], 0);  // the lead byte of é is not left dangling
    EXPECT_EQ(rec.Bytes[574], 100);
    EXPECT_EQ(rec.Bytes[675], 0);
}

}  // namespace
}  // namespace engine
