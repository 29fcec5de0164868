// The screen-capture filter through COM as the engine meets it: registered with the registration
// helper, created by class identifier, fed its record, grabbing single pictures and streaming through
// the DMO wrapper with the colour converter. No display: the test pattern is what it sends.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/dshow/ColourConversion.h"
#include "platform/dshow/MediaObject.h"
#include "platform/dshow/media_type.h"
#include "platform/filters/BmpCodec.h"
#include "platform/filters/MemoryStream.h"
#include "platform/filters/ScreenCaptureData.h"
#include "platform/filters/TestPatternSource.h"
#include "tests/platform/filters/FrameCollector.h"

namespace {

namespace r = screen_capture_record;

std::string ModulePath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libFwScreenCapture.so").string();
}

TScreenCaptureFilterParams Record(int left, int top, int width, int height, int fps) {
    TScreenCaptureFilterParams rec{};
    r::PutByte(rec, r::kCaptureMode, 2);
    r::PutByte(rec, r::kParamsKind, r::kParamsKindValue);
    r::PutInt32(rec, r::kLeft, left);
    r::PutInt32(rec, r::kTop, top);
    r::PutInt32(rec, r::kWidth, width);
    r::PutInt32(rec, r::kHeight, height);
    r::PutInt32(rec, r::kFrameRate, fps);
    r::PutInt32(rec, r::kScalePercent, 100);
    return rec;
}

class ScreenCaptureFilterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize();
        ASSERT_EQ(RegisterServerLibrary(ModulePath()), S_OK);
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    ComPtr<IBaseFilter> filter_;
    ComPtr<IScreenCaptureData> data_;
    void SetUp() override {
        ASSERT_EQ(CoCreate(CLSID_ScreenCaptureFilter, filter_), S_OK);
        ASSERT_EQ(filter_.As(data_), S_OK);
    }
};

TEST_F(ScreenCaptureFilterTest, TakesTheRecordAndRefusesOnesWithoutASize) {
    EXPECT_EQ(data_->SetCaptureParams(Record(0, 0, 0, 100, 25)), E_INVALIDARG);
    const TScreenCaptureFilterParams rec = Record(10, 20, 100, 50, 25);
    EXPECT_EQ(data_->SetCaptureParams(rec), S_OK);
    TScreenCaptureFilterParams back{};
    EXPECT_EQ(data_->GetCaptureParams(&back), S_OK);
    EXPECT_EQ(0, std::memcmp(&back, &rec, sizeof rec));
    EXPECT_EQ(data_->GetCaptureParams(nullptr), E_POINTER);
    BOOL fromDisplay = TRUE;
    EXPECT_EQ(data_->IsDisplayCapture(&fromDisplay), S_OK);
    EXPECT_FALSE(fromDisplay);
    EXPECT_EQ(data_->Reserved6(), E_NOTIMPL);
}

TEST_F(ScreenCaptureFilterTest, GetImageReplacesTheStreamWithOneBitmap) {
    platform::TMemoryStream stream;
    EXPECT_FALSE(data_->GetImage(&stream));  // no record yet
    EXPECT_FALSE(data_->GetImage(nullptr));
    ASSERT_EQ(data_->SetCaptureParams(Record(0, 0, 100, 50, 25)), S_OK);
    const std::vector<uint8_t> junk(1'000'000, 0xAA);  // an earlier, larger content at its end
    stream.Write(junk.data(), junk.size());
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(data_->GetImage(&stream));
        platform::TBitmap bitmap;
        std::string error;
        ASSERT_TRUE(platform::DecodeBmp(stream.Data(), stream.Size(), bitmap, &error)) << error;
        EXPECT_EQ(stream.Size(), platform::BmpFileBytes(112, 64));  // 100 x 50 grown to multiples of 16
        EXPECT_EQ(bitmap.Width, 112);
        EXPECT_EQ(bitmap.Height, 64);
        EXPECT_EQ(data_->ReleaseImage(), S_OK);
    }
}

TEST_F(ScreenCaptureFilterTest, StreamsTimeStampedYv12ThroughTheColourConverter) {
    constexpr int kFps = 25, kLeft = 64;
    ASSERT_EQ(data_->SetCaptureParams(Record(kLeft, 0, 64, 32, kFps)), S_OK);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
    ComPtr<IBaseFilter> dmo;
    ASSERT_EQ(CoCreate(CLSID_DMOWrapperFilter, dmo), S_OK);
    ComPtr<IDMOWrapperFilter> wrapper;
    ASSERT_EQ(dmo.As(wrapper), S_OK);
    ASSERT_EQ(wrapper->Init(CLSID_CColorConvertDMO, DMOCATEGORY_VIDEO_EFFECT), S_OK);
    fw_test::TFrameCollector* collector = nullptr;
    ComPtr<IBaseFilter> sink = fw_test::TFrameCollector::Create(&collector);
    ASSERT_EQ(graph->AddFilter(filter_.Get(), "Screen Capture"), S_OK);
    ASSERT_EQ(graph->AddFilter(dmo.Get(), "DMO ColorConverter"), S_OK);
    ASSERT_EQ(graph->AddFilter(sink.Get(), "Collector"), S_OK);

    auto pin = [](IBaseFilter* f, const char* id) {
        ComPtr<IPin> p;
        f->FindPin(id, p.Put());
        return p;
    };
    ComPtr<IPin> screenOut = pin(filter_.Get(), "Output");
    ComPtr<IPin> dmoIn = pin(dmo.Get(), "XForm In"), dmoOut = pin(dmo.Get(), "XForm Out");
    ComPtr<IPin> sinkIn = pin(sink.Get(), "In");
    ASSERT_TRUE(screenOut && dmoIn && dmoOut && sinkIn);

    auto offered = [&] {
        std::vector<GUID> subtypes;
        ComPtr<IEnumMediaTypes> types;
        if (FAILED(dmoOut->EnumMediaTypes(types.Put())) || !types) return subtypes;
        AM_MEDIA_TYPE* mt = nullptr;
        ULONG n = 0;
        while (types->Next(1, &mt, &n) == S_OK && n == 1) {
            subtypes.push_back(mt->subtype);
            DeleteMediaType(mt);
        }
        return subtypes;
    };
    EXPECT_TRUE(offered().empty());  // nothing before the input type is known
    ASSERT_EQ(graph->ConnectDirect(screenOut.Get(), dmoIn.Get(), nullptr), S_OK);
    const std::vector<GUID> expected = {MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24, MEDIASUBTYPE_YV12, MEDIASUBTYPE_I420};
    ASSERT_EQ(offered(), expected);
    dshow::TMediaType yv12(MEDIATYPE_Video, MEDIASUBTYPE_YV12);
    ASSERT_EQ(graph->ConnectDirect(dmoOut.Get(), sinkIn.Get(), yv12.get()), S_OK);
    EXPECT_EQ(collector->Type()->subtype, MEDIASUBTYPE_YV12);

    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph.As(control), S_OK);
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    ASSERT_TRUE(collector->WaitForFrames(6, std::chrono::seconds(10)));
    control->Stop();
    int64_t counted = 0;
    EXPECT_EQ(data_->GetFrameCount(&counted), S_OK);
    EXPECT_GE(counted, 6);

    const std::vector<fw_test::TFrameCollector::Frame> frames = collector->Frames();
    constexpr REFERENCE_TIME kPeriod = kUnitsPerSecond / kFps;
    for (size_t i = 0; i < frames.size(); ++i) {
        const auto& f = frames[i];
        ASSERT_EQ(f.Bytes.size(), platform::PictureBytes(platform::TPictureFormat::Yv12, 64, 32));
        EXPECT_EQ(f.Stop - f.Start, kPeriod);
        EXPECT_EQ(f.Start % kPeriod, 0);
        if (i > 0) {
            EXPECT_GT(f.Start, frames[i - 1].Start);
        }
        // The top-left luma is the test pattern's colour at the area's left edge in that picture.
        const int64_t n = f.Start / kPeriod;
        const uint32_t c = platform::TTestPatternSource::ColourAt(kLeft, n);
        EXPECT_EQ(f.Bytes[0], platform::RgbToYuv(c >> 16, (c >> 8) & 0xFF, c & 0xFF).Y) << "picture " << n;
    }
}

TEST(ScreenCaptureServer, UnregisteredClassCannotBeCreated) {
    CoInitialize();
    ASSERT_EQ(RegisterServerLibrary(ModulePath()), S_OK);
    ASSERT_EQ(RegisterServerLibrary(ModulePath(), true), S_OK);
    ComPtr<IBaseFilter> filter;
    EXPECT_TRUE(FAILED(CoCreate(CLSID_ScreenCaptureFilter, filter)));
    ASSERT_EQ(RegisterServerLibrary(ModulePath()), S_OK);
    EXPECT_EQ(CoCreate(CLSID_ScreenCaptureFilter, filter), S_OK);
    CoUninitialize();
}

}  // namespace
