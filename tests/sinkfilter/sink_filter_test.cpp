// The filter object itself (made directly, with a clock the test moves): pins, flags, pages, statistics.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/dshow/class_factory.h"
#include "sinkfilter/orbelle.h"
#include "tests/platform/dshow/test_push_source.h"
#include "tests/sinkfilter/fake_sink_clock.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;
using sinkfilter::Orbelle;

namespace {

struct TDirectSink {
    dshow::TComModule module;
    std::shared_ptr<fw_test::TFakeSinkClock> clock = std::make_shared<fw_test::TFakeSinkClock>();
    Orbelle* filter = nullptr;
    ComPtr<IBaseFilter> sink;
    ComPtr<IOrbelleData> data;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> source;
    fw_test::TPushStream* stream = nullptr;

    TDirectSink() {
        filter = new Orbelle(module, clock);
        EXPECT_EQ(dshow::QueryNewObject(static_cast<dshow::TBaseRenderer*>(filter), IID_IBaseFilter, sink.PutVoid()),
                  S_OK);
        EXPECT_EQ(sink.As(data), S_OK);
        // No network: the UDP-server kind sends nothing.
        data->SetupDravenel(1234, 2130706433, 32768, 0, ftUnk, 33, siUdpServer);
        EXPECT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
        graph.As(control);
        source = fw_test::TPushSource::Create({fw_test::AudioType(8000, 1)}, 4096, &stream);
        graph->AddFilter(source.Get(), "Source");
        graph->AddFilter(sink.Get(), "IP Sink");
        EXPECT_EQ(graph->Connect(fw_test::FirstPin(source.Get(), PINDIR_OUTPUT).Get(),
                                 fw_test::FirstPin(sink.Get(), PINDIR_INPUT).Get()),
                  S_OK);
    }
    TDirectSink(const TDirectSink&) = delete;
    ~TDirectSink() { control->Stop(); }

    TDravenelStats Stats() {
        TDravenelStats s;
        std::memset(&s, 0xAB, sizeof s);
        EXPECT_EQ(data->GetStats(&s), S_OK);
        return s;
    }
};

}  // namespace

TEST(OrbelleFilter, OneInputPinForEveryIndexRendererFlagAndItsPropertyPage) {
    TDirectSink s;
    EXPECT_EQ(s.filter->GetPinCount(), 1);
    EXPECT_EQ(s.filter->GetPin(3), s.filter->GetPin(0));
    ComPtr<IPin> input;
    ASSERT_EQ(s.sink->FindPin("Input", input.Put()), S_OK);
    EXPECT_EQ(input->QueryAccept(nullptr), E_POINTER);
    EXPECT_EQ(input->QueryAccept(fw_test::VideoType(MEDIASUBTYPE_VP80, 1, 1, 0, 0).get()), S_OK);

    ComPtr<IAMFilterMiscFlags> flags;
    ASSERT_EQ(s.sink.As(flags), S_OK);
    EXPECT_EQ(flags->GetMiscFlags(), AM_FILTER_MISC_FLAGS_IS_RENDERER);
    ComPtr<ISpecifyPropertyPages> pages;
    ASSERT_EQ(s.sink.As(pages), S_OK);
    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 1u);
    EXPECT_EQ(list.pElems[0], CLSID_OrbellePropPage);
    CoTaskMemFree(list.pElems);
    CLSID clsid{};
    s.sink->GetClassID(&clsid);
    EXPECT_EQ(clsid, CLSID_Orbelle);
}

TEST(OrbelleFilter, StatsAreZeroBeforeTheFirstActivationAndANullRecordIsRefused) {
    TDirectSink s;
    EXPECT_EQ(s.data->GetStats(nullptr), S_FALSE);
    const TDravenelStats stats = s.Stats();
    const TDravenelStats zero{};
    EXPECT_EQ(std::memcmp(&stats, &zero, sizeof stats), 0);  // padding included
}

TEST(OrbelleFilter, StatsOneSecondAfterActivationWithTenSamples) {
    TDirectSink s;
    ASSERT_EQ(s.control->Run(), S_OK);
    for (int i = 0; i < 10; ++i) s.stream->Push({std::vector<uint8_t>(1000, 1), std::nullopt});
    s.stream->Push({{}, std::nullopt});  // counted, not queued
    ASSERT_TRUE(fw_test::WaitUntil([&] { return s.Stats().InpSamples == 11; }, 5s));
    s.clock->Advance(1500ms);
    const TDravenelStats stats = s.Stats();
    EXPECT_EQ(stats.InpSamples, 11);
    EXPECT_EQ(stats.InpBytes, 10000);
    EXPECT_EQ(stats.InpSampleSize, 909);  // 10000 / 11, rounded
    EXPECT_EQ(stats.runTime, 1);
    EXPECT_EQ(stats.InpDatarate, 10000);
    EXPECT_EQ(stats.OutpBytes, 0);
    EXPECT_EQ(stats.OutpSampleSize, 0);
    EXPECT_EQ(stats.Padding0 | stats.Padding1 | stats.Padding2 | stats.Padding3, 0);

    // A new activation starts counting afresh.
    s.control->Stop();
    ASSERT_EQ(s.control->Run(), S_OK);
    EXPECT_EQ(s.Stats().InpSamples, 0);
    EXPECT_EQ(s.Stats().runTime, 0);
}

TEST(OrbelleFilter, HalvesRoundToTheEvenInteger) {
    TDirectSink s;
    ASSERT_EQ(s.control->Run(), S_OK);
    // 3 + 2 bytes over 2 samples: 2.5 -> 2; over 2 seconds... 5 / 2 = 2.5 -> 2.
    s.stream->Push({std::vector<uint8_t>(3, 0), std::nullopt});
    s.stream->Push({std::vector<uint8_t>(2, 0), std::nullopt});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return s.Stats().InpSamples == 2; }, 5s));
    s.clock->Advance(2s);
    EXPECT_EQ(s.Stats().InpSampleSize, 2);
    EXPECT_EQ(s.Stats().InpDatarate, 2);
    s.stream->Push({std::vector<uint8_t>(2, 0), std::nullopt});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return s.Stats().InpSamples == 3; }, 5s));
    EXPECT_EQ(s.Stats().InpDatarate, 4);  // 7 / 2 = 3.5 -> 4
}
