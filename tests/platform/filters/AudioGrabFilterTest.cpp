// The audio-grab filter as the web-socket graph meets it: registered with the registration helper,
// created by class identifier, switched on through IAudioGrab and streaming into a renderer. No sound
// server answers here, so the tone is what it sends.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/filters/AudioGrabData.h"
#include "platform/filters/AudioGrabFilter.h"
#include "platform/filters/ToneAudioSource.h"
#include "tests/platform/filters/FrameCollector.h"

namespace {

using namespace std::chrono_literals;

std::string ModulePath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libFwAudioGrab.so").string();
}

ComPtr<IPin> PinOf(IBaseFilter* filter, const char* id) {
    ComPtr<IPin> pin;
    filter->FindPin(id, pin.Put());
    return pin;
}

// A filter graph with the audio-grab filter feeding a collecting renderer.
struct TAudioGraph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> grab;
    ComPtr<IAudioGrab> data;
    fw_test::TFrameCollector* collector = nullptr;
    ComPtr<IBaseFilter> collectorFilter;

    explicit TAudioGraph(ComPtr<IBaseFilter> grabFilter) : grab(std::move(grabFilter)) {
        EXPECT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
        EXPECT_EQ(graph.As(control), S_OK);
        EXPECT_EQ(grab.As(data), S_OK);
        collectorFilter = fw_test::TFrameCollector::Create(&collector);
        EXPECT_EQ(graph->AddFilter(grab.Get(), "AudioGrab"), S_OK);
        EXPECT_EQ(graph->AddFilter(collectorFilter.Get(), "Collector"), S_OK);
        EXPECT_EQ(graph->Connect(PinOf(grab.Get(), "Output").Get(), PinOf(collectorFilter.Get(), "In").Get()), S_OK);
    }
    ~TAudioGraph() {
        if (control) control->Stop();
    }
};

class AudioGrabFilterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitialize();
        ASSERT_EQ(RegisterServerLibrary(ModulePath()), S_OK);
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    static ComPtr<IBaseFilter> CreateRegistered() {
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(CoCreate(CLSID_AudioGrabFilter, filter), S_OK);
        return filter;
    }
};

TEST_F(AudioGrabFilterTest, OffersPcmAtFortyEightKilohertzInStereo) {
    ComPtr<IBaseFilter> filter = CreateRegistered();
    ASSERT_TRUE(filter);
    ComPtr<IAudioGrab> data;
    ASSERT_EQ(filter.As(data), S_OK);
    BOOL active = TRUE;
    EXPECT_EQ(data->GetActive(&active), S_OK);
    EXPECT_FALSE(active);
    EXPECT_EQ(data->GetActive(nullptr), E_POINTER);
    EXPECT_EQ(data->GetBufferCount(nullptr), E_POINTER);
    EXPECT_EQ(data->IsSoundServerCapture(nullptr), E_POINTER);

    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(PinOf(filter.Get(), "Output")->EnumMediaTypes(types.Put()), S_OK);
    AM_MEDIA_TYPE* mt = nullptr;
    ULONG fetched = 0;
    ASSERT_EQ(types->Next(1, &mt, &fetched), S_OK);
    EXPECT_EQ(mt->majortype, MEDIATYPE_Audio);
    EXPECT_EQ(mt->subtype, MEDIASUBTYPE_PCM);
    ASSERT_EQ(mt->formattype, FORMAT_WaveFormatEx);
    ASSERT_GE(mt->cbFormat, sizeof(WAVEFORMATEX));
    WAVEFORMATEX wf;
    std::memcpy(&wf, mt->pbFormat, sizeof wf);
    EXPECT_EQ(wf.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wf.nSamplesPerSec, 48000u);
    EXPECT_EQ(wf.nChannels, 2);
    EXPECT_EQ(wf.wBitsPerSample, 16);
    EXPECT_EQ(wf.nBlockAlign, 4);
    EXPECT_EQ(wf.nAvgBytesPerSec, 192000u);
    DeleteMediaType(mt);
    EXPECT_EQ(types->Next(1, &mt, &fetched), S_FALSE);
}

TEST_F(AudioGrabFilterTest, SendsNothingUntilActiveAndRunning) {
    TAudioGraph g(CreateRegistered());
    ASSERT_EQ(g.control->Run(), S_OK);
    std::this_thread::sleep_for(150ms);  // running but inactive
    EXPECT_TRUE(g.collector->Frames().empty());

    ASSERT_EQ(g.control->Pause(), S_OK);
    ASSERT_EQ(g.data->SetActive(TRUE), S_OK);
    std::this_thread::sleep_for(150ms);  // active but paused
    EXPECT_TRUE(g.collector->Frames().empty());

    ASSERT_EQ(g.control->Run(), S_OK);
    ASSERT_TRUE(g.collector->WaitForFrames(3, 5s));
    ASSERT_EQ(g.data->SetActive(FALSE), S_OK);
    std::this_thread::sleep_for(200ms);  // a buffer under way may still arrive
    const size_t settled = g.collector->Frames().size();
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(g.collector->Frames().size(), settled);
}

TEST_F(AudioGrabFilterTest, DeliversTimeStampedTwentyMillisecondBuffersOfTheTone) {
    TAudioGraph g(CreateRegistered());
    ASSERT_EQ(g.data->SetActive(TRUE), S_OK);
    const auto startedAt = std::chrono::steady_clock::now();
    ASSERT_EQ(g.control->Run(), S_OK);
    ASSERT_TRUE(g.collector->WaitForFrames(10, 5s));
    // Paced like live sound, not sent in a burst: ten buffers hold 200 ms.
    EXPECT_GE(std::chrono::steady_clock::now() - startedAt, 150ms);
    BOOL fromServer = TRUE;
    EXPECT_EQ(g.data->IsSoundServerCapture(&fromServer), S_OK);
    EXPECT_FALSE(fromServer);
    int64_t counted = 0;
    EXPECT_EQ(g.data->GetBufferCount(&counted), S_OK);
    EXPECT_GE(counted, 10);

    const auto frames = g.collector->Frames();
    for (size_t n = 0; n < 10; ++n) {
        const auto& f = frames[n];
        ASSERT_EQ(f.Bytes.size(), kAudioBufferBytes) << n;
        EXPECT_EQ(f.Start, static_cast<REFERENCE_TIME>(n) * 200'000) << n;
        EXPECT_EQ(f.Stop, static_cast<REFERENCE_TIME>(n + 1) * 200'000) << n;
        int16_t first[2];
        std::memcpy(first, f.Bytes.data(), sizeof first);
        EXPECT_EQ(first[0], platform::TToneAudioSource::SampleAt(static_cast<int64_t>(n * kAudioFramesPerBuffer)));
        EXPECT_EQ(first[1], first[0]);
    }
}

// A sound server that answers once and then goes away.
class TFailingLiveSource final : public platform::IAudioSource {
public:
    bool Read(int16_t* samples, size_t frames) override {
        std::memset(samples, 0, frames * kAudioBytesPerFrame);
        return reads_++ == 0;
    }
    bool Live() const override { return true; }

private:
    int reads_ = 0;
};

TEST_F(AudioGrabFilterTest, GoesOnWithTheToneWhenTheSoundServerStops) {
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(platform::TAudioGrabFilter::CreateWithSource(
                  [](std::string*) -> std::unique_ptr<platform::IAudioSource> {
                      return std::make_unique<TFailingLiveSource>();
                  },
                  IBaseFilter::iid, filter.PutVoid()),
              S_OK);
    TAudioGraph g(filter);
    ASSERT_EQ(g.data->SetActive(TRUE), S_OK);
    ASSERT_EQ(g.control->Run(), S_OK);
    ASSERT_TRUE(g.collector->WaitForFrames(6, 5s));
    BOOL fromServer = TRUE;
    EXPECT_EQ(g.data->IsSoundServerCapture(&fromServer), S_OK);
    EXPECT_FALSE(fromServer);
    const auto frames = g.collector->Frames();
    for (size_t n = 0; n < 6; ++n) EXPECT_EQ(frames[n].Start, static_cast<REFERENCE_TIME>(n) * 200'000) << n;
    bool toneHeard = false;
    for (size_t n = 2; n < 6; ++n)
        for (size_t i = 0; i + 1 < frames[n].Bytes.size(); i += 2) toneHeard |= frames[n].Bytes[i] != 0;
    EXPECT_TRUE(toneHeard);
}

}  // namespace
