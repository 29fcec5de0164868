// The screen capture graph built from the real screen-capture filter (through COM, test pattern: no
// display) and the real DMO wrapper with its colour converter, ending in a fake sink that records how it
// was set up.
#include "engine/graphs/SpreadFilterGraph.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "engine/graphs/RunningObjectTable.h"
#include "platform/dshow/ColourConverterDmo.h"
#include "platform/filters/AudioGrabData.h"
#include "tests/engine/graphs/FakeSink.h"
#include "tests/support/test_env.h"

namespace engine {
namespace {

std::string ScreenCaptureModule() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libFwScreenCapture.so").string();
}

class TRecordingErrorBox final : public IErrorBox {
public:
    void ShowError(const std::string& caption, const std::string& text) override {
        shown.push_back(caption + "|" + text);
    }
    std::vector<std::string> shown;
};

// The converter's RGB outputs only: no YV12 on offer.
class TRgbOnlyDmo final : public IMediaObject, public dshow::TUnknown {
public:
    static HRESULT Create(IUnknown*, REFIID riid, void** ppv) { return dshow::QueryNewObject(new TRgbOnlyDmo(), riid, ppv); }
    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IMediaObject::iid) return dshow::GetInterface(static_cast<IMediaObject*>(this), ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT GetStreamCount(DWORD* i, DWORD* o) override { return real_->GetStreamCount(i, o); }
    HRESULT GetInputType(DWORD s, DWORD i, AM_MEDIA_TYPE* mt) override { return real_->GetInputType(s, i, mt); }
    HRESULT GetOutputType(DWORD s, DWORD i, AM_MEDIA_TYPE* mt) override {
        return i < 2 ? real_->GetOutputType(s, i, mt) : DMO_E_NO_MORE_ITEMS;
    }
    HRESULT SetInputType(DWORD s, const AM_MEDIA_TYPE* mt, DWORD f) override { return real_->SetInputType(s, mt, f); }
    HRESULT SetOutputType(DWORD s, const AM_MEDIA_TYPE* mt, DWORD f) override { return real_->SetOutputType(s, mt, f); }
    HRESULT GetOutputSizeInfo(DWORD s, DWORD* size, DWORD* a) override { return real_->GetOutputSizeInfo(s, size, a); }
    HRESULT Flush() override { return real_->Flush(); }
    HRESULT ProcessBuffer(const BYTE* in, DWORD n, BYTE* out, DWORD cap, DWORD* w) override {
        return real_->ProcessBuffer(in, n, out, cap, w);
    }

private:
    TRgbOnlyDmo() { dshow::TColourConverterDmo::Create(nullptr, IMediaObject::iid, real_.PutVoid()); }
    ComPtr<IMediaObject> real_;
};

TFgSpreadInputParams CaptureParams(int port) {
    TFgSpreadInputParams p;
    p.UseScreenFilter = 1;
    p.SinkPort = port;
    p.SinkInterface = siTcpServer;
    p.ScreenCapture.CaptureMode = 2;
    p.ScreenCapture.Width = 64;
    p.ScreenCapture.Height = 48;
    p.ScreenCapture.FrameRate = 25;
    p.ScreenCapture.ScalePercent = 100;
    p.ScreenCapture.WindowCaption = std::string(300, 'c');
    return p;
}

class SpreadFilterGraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize();
        ASSERT_EQ(RegisterServerLibrary(ScreenCaptureModule()), S_OK);
    }
    static void TearDownTestSuite() { CoUninitialize(); }
    void SetUp() override { CoRegisterBuiltinClass(CLSID_Orbelle, &fw_test::TFakeSink::Create); }
    void TearDown() override {
        CoRevokeBuiltinClass(CLSID_Orbelle);
        CoRegisterBuiltinClass(CLSID_CColorConvertDMO, &dshow::TColourConverterDmo::Create);
        CoRevokeBuiltinClass(CLSID_AudioGrabFilter);
    }

    std::unique_ptr<TSpreadFilterGraph> MakeGraph(const TFgSpreadInputParams& params,
                                                  std::shared_ptr<IErrorBox> box = nullptr) {
        auto graph = std::make_unique<TSpreadFilterGraph>(params, std::move(box));
        graph->OnLog = [this](TSpreadFilterGraph&, const std::string& text) { log_.push_back(text); };
        return graph;
    }
    std::vector<std::string> log_;
};

TEST_F(SpreadFilterGraphTest, BuildsRunsAndStopsWithItsLogLines) {
    auto graph = MakeGraph(CaptureParams(47048));
    ASSERT_TRUE(graph->Init());
    EXPECT_EQ(log_, (std::vector<std::string>{"Create FilterGraph", "ScreenCapture: ", "SetupDravenel: 47048"}));
    fw_test::TFakeSink* sink = fw_test::TFakeSink::Last();
    const fw_test::TSetupCall setup = sink->Setup();
    EXPECT_EQ(setup.Port, 47048);
    EXPECT_EQ(setup.Addr, 2130706433);
    EXPECT_EQ(setup.Buffer, 32768);
    EXPECT_EQ(setup.Header, 0u);
    EXPECT_EQ(setup.Format, static_cast<uint32_t>(ftUnk));
    EXPECT_EQ(setup.Rtp, 0);
    EXPECT_EQ(setup.Interface, static_cast<uint32_t>(siTcpServer));
    // RGB32 and RGB24 are offered first; YV12 is the type taken.
    EXPECT_EQ(sink->Subtype(), MEDIASUBTYPE_YV12);
    EXPECT_EQ(graph->RotCookie(), 0u);

    EXPECT_TRUE(graph->Run());
    EXPECT_FALSE(graph->Run());  // already running: nothing changes
    ASSERT_TRUE(fw_test::WaitUntil([&] { return sink->Samples() >= 3; }, std::chrono::seconds(10)));
    EXPECT_EQ(sink->LastBytes(), 64 * 48 * 3 / 2);
    EXPECT_TRUE(graph->Stop());
    EXPECT_FALSE(graph->Stop());  // already stopped
}

TEST_F(SpreadFilterGraphTest, TheCaptionReachesTheFilterCutTo255Characters) {
    auto graph = MakeGraph(CaptureParams(5000));
    ASSERT_TRUE(graph->BuildGraph());
    // The filter keeps the record it was given: read it back from the graph's own filter, found by its
    // name in the graph that the sink joined.
    FILTER_INFO info{};
    ASSERT_EQ(fw_test::TFakeSink::Last()->QueryFilterInfo(&info), S_OK);
    const ComPtr<IFilterGraph> owner = ComPtr<IFilterGraph>::Attach(info.pGraph);
    ASSERT_TRUE(owner);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(owner->FindFilterByName("Screen Capture", filter.Put()), S_OK);
    ComPtr<IScreenCaptureData> data;
    ASSERT_EQ(filter.As(data), S_OK);
    TScreenCaptureFilterParams rec{};
    ASSERT_EQ(data->GetCaptureParams(&rec), S_OK);
    EXPECT_EQ(rec.Bytes[284], 255);
    EXPECT_EQ(rec.Bytes[284 + 1], 'c');
    EXPECT_EQ(rec.Bytes[284 + 255], 'c');
}

TEST_F(SpreadFilterGraphTest, AGraphBuiltWithoutInitRuns) {
    auto graph = MakeGraph(CaptureParams(5006));
    ASSERT_TRUE(graph->BuildGraph());
    EXPECT_TRUE(graph->Built());
    EXPECT_TRUE(graph->Run());
    ASSERT_TRUE(fw_test::WaitUntil([&] { return fw_test::TFakeSink::Last()->Samples() >= 1; }, std::chrono::seconds(10)));
    EXPECT_TRUE(graph->Stop());
}

TEST_F(SpreadFilterGraphTest, WithoutTheScreenFilterNothingIsBuilt) {
    TFgSpreadInputParams params = CaptureParams(5001);
    params.UseScreenFilter = 0;
    auto graph = MakeGraph(params);
    EXPECT_FALSE(graph->BuildGraph());
    EXPECT_EQ(log_, std::vector<std::string>{"Create FilterGraph"});
    EXPECT_FALSE(graph->Run());  // not built: no false success
    EXPECT_FALSE(graph->Stop());
    platform::TBitmap bitmap;
    EXPECT_FALSE(graph->GetImage(&bitmap));
}

TEST_F(SpreadFilterGraphTest, WithoutAYv12OfferThePinsNegotiate) {
    CoRegisterBuiltinClass(CLSID_CColorConvertDMO, &TRgbOnlyDmo::Create);
    auto graph = MakeGraph(CaptureParams(5002));
    ASSERT_TRUE(graph->BuildGraph());
    EXPECT_EQ(fw_test::TFakeSink::Last()->Subtype(), MEDIASUBTYPE_RGB32);
}

TEST_F(SpreadFilterGraphTest, AFailedBuildLogsTheStepAndShowsTheBox) {
    CoRevokeBuiltinClass(CLSID_Orbelle);
    auto box = std::make_shared<TRecordingErrorBox>();
    auto graph = MakeGraph(CaptureParams(5003), box);
    EXPECT_FALSE(graph->Init());
    ASSERT_EQ(log_.size(), 3u);
    EXPECT_TRUE(log_[2].ends_with(" (Error Code : 80040154)")) << log_[2];  // class not registered
    EXPECT_EQ(box->shown, std::vector<std::string>{"Framewick|Error: DirectX-Filtergraph initialization"});
    EXPECT_FALSE(graph->Run());
}

TEST_F(SpreadFilterGraphTest, GetImageGivesTheCaptureAreaAndEndsWithTheGraph) {
    auto graph = std::shared_ptr<TSpreadFilterGraph>(MakeGraph(CaptureParams(5004)));
    ASSERT_TRUE(graph->BuildGraph());
    EXPECT_FALSE(graph->GetImage(nullptr));
    platform::TBitmap bitmap;
    ASSERT_TRUE(graph->GetImage(&bitmap));  // works before the graph runs
    EXPECT_EQ(bitmap.Width, 64);
    EXPECT_EQ(bitmap.Height, 48);
    ASSERT_TRUE(graph->GetImage(&bitmap));  // the stream still holds the first picture: replaced, not appended

    // A snapshot thread keeps grabbing while the job shuts the graph down.
    std::atomic<bool> done{false};
    std::atomic<int> grabs{0};
    std::thread snapshot([graph, &done, &grabs] {
        platform::TBitmap b;
        while (!done) {
            if (graph->GetImage(&b)) ++grabs;
        }
    });
    graph->Run();
    ASSERT_TRUE(fw_test::WaitUntil([&] { return grabs >= 3; }, std::chrono::seconds(10)));
    graph->Shutdown();
    EXPECT_FALSE(graph->GetImage(&bitmap));
    done = true;
    snapshot.join();
}

TEST_F(SpreadFilterGraphTest, RunningObjectTableHoldsTheGraphUntilShutdown) {
    TFgSpreadInputParams params = CaptureParams(5005);
    params.AddToRot = 1;
    auto graph = MakeGraph(params);
    ASSERT_TRUE(graph->BuildGraph());
    ASSERT_NE(graph->RotCookie(), 0u);
    const std::string prefix = "!FilterGraph ";
    const std::string suffix = " pid " + std::to_string(::getpid());
    bool found = false;
    for (const std::string& name : TRunningObjectTable::Instance().DisplayNames())
        found |= name.rfind(prefix, 0) == 0 && name.size() > suffix.size() &&
                 name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    EXPECT_TRUE(found);
    graph->Shutdown();
    EXPECT_EQ(graph->RotCookie(), 0u);
    EXPECT_TRUE(TRunningObjectTable::Instance().DisplayNames().empty());
    TItemMoniker moniker;
    EXPECT_EQ(CreateItemMoniker("!", "", moniker), E_INVALIDARG);
    EXPECT_EQ(TRunningObjectTable::Instance().Revoke(12345), E_INVALIDARG);
}

TEST_F(SpreadFilterGraphTest, StartupProbeNeedsEveryFilterClass) {
    CoRegisterBuiltinClass(CLSID_AudioGrabFilter, &fw_test::TFakeSink::Create);  // any filter will do
    TRecordingErrorBox box;
    EXPECT_TRUE(TSpreadFilterGraph::ProbeFilters(&box));
    EXPECT_TRUE(box.shown.empty());
    CoRevokeBuiltinClass(CLSID_AudioGrabFilter);
    EXPECT_FALSE(TSpreadFilterGraph::ProbeFilters(&box));
    EXPECT_EQ(box.shown, std::vector<std::string>{std::string("ERROR|") + TSpreadFilterGraph::kProbeFailedText});
}

}  // namespace
}  // namespace engine
