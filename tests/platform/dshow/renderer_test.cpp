// The renderer base: samples held while paused, presentation times, refused time stamps, and Stop
// releasing a streaming thread that waits inside Receive.
#include <gtest/gtest.h>

#include "platform/dshow/dshow.h"
#include "tests/platform/dshow/test_push_source.h"
#include "tests/platform/dshow/test_renderer.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

struct TChain {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> source, sink;
    fw_test::TPushStream* stream = nullptr;
    fw_test::TRecordingRenderer* renderer = nullptr;

    TChain() {
        EXPECT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
        graph.As(control);
        source = fw_test::TPushSource::Create({fw_test::AudioType(8000, 1)}, 1024, &stream);
        sink = fw_test::TRecordingRenderer::Create(GUID_NULL, &renderer);
        graph->AddFilter(source.Get(), "Source");
        graph->AddFilter(sink.Get(), "Sink");
        EXPECT_EQ(graph->Connect(fw_test::FirstPin(source.Get(), PINDIR_OUTPUT).Get(),
                                 fw_test::FirstPin(sink.Get(), PINDIR_INPUT).Get()),
                  S_OK);
    }
};

}  // namespace

TEST(BaseRenderer, PausedHoldsTheFirstSampleUntilRun) {
    TChain c;
    ASSERT_EQ(c.control->Pause(), S_OK);
    EXPECT_EQ(c.renderer->actives.load(), 1);
    c.stream->Push({{7}, std::nullopt});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return c.stream->Pending() == 0; }, 2s));
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(c.renderer->Rendered().empty());
    ASSERT_EQ(c.control->Run(), S_OK);
    EXPECT_TRUE(fw_test::WaitUntil([&] { return c.renderer->Rendered().size() == 1; }, 2s));
    EXPECT_EQ(c.control->Stop(), S_OK);
    EXPECT_EQ(c.renderer->inactives.load(), 1);
}

TEST(BaseRenderer, StopReleasesAHeldOrWaitingSampleAtOnce) {
    for (const bool farFuture : {false, true}) {
        SCOPED_TRACE(farFuture ? "waiting for its time" : "held while paused");
        TChain c;
        ASSERT_EQ(farFuture ? c.control->Run() : c.control->Pause(), S_OK);
        const REFERENCE_TIME start = 3600 * kUnitsPerSecond;
        c.stream->Push({{1}, farFuture ? std::optional(std::make_pair(start, start + 1)) : std::nullopt});
        ASSERT_TRUE(fw_test::WaitUntil([&] { return c.stream->Pending() == 0; }, 2s));
        const auto before = std::chrono::steady_clock::now();
        EXPECT_EQ(c.control->Stop(), S_OK);
        EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
        EXPECT_TRUE(c.renderer->Rendered().empty());
    }
}

TEST(BaseRenderer, SamplesWaitForTheirPresentationTime) {
    TChain c;
    ASSERT_EQ(c.control->Run(), S_OK);
    const auto before = std::chrono::steady_clock::now();
    c.stream->Push({{1}, std::make_pair(300 * kUnitsPerMillisecond, 310 * kUnitsPerMillisecond)});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return c.renderer->Rendered().size() == 1; }, 3s));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 250ms);
    c.control->Stop();
}

TEST(BaseRenderer, ReceiveRefusesAStopTimeBeforeTheStartTimeAndSamplesWhileStopped) {
    TChain c;
    ComPtr<IMemInputPin> input;
    ASSERT_EQ(fw_test::FirstPin(c.sink.Get(), PINDIR_INPUT).As(input), S_OK);
    ComPtr<IMemAllocator> allocator;
    ASSERT_EQ(input->GetAllocator(allocator.Put()), S_OK);

    ASSERT_EQ(c.control->Run(), S_OK);
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
    sample->SetActualDataLength(1);
    REFERENCE_TIME start = 2000, stop = 1000;
    sample->SetTime(&start, &stop);
    EXPECT_EQ(input->Receive(sample.Get()), VFW_E_START_TIME_AFTER_END);
    stop = 2000;
    sample->SetTime(&start, &stop);
    EXPECT_EQ(input->Receive(sample.Get()), S_OK);
    sample.Reset();
    c.control->Stop();

    EXPECT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    EXPECT_EQ(c.renderer->Rendered().size(), 1u);
}
