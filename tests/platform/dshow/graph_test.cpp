// The graph manager: filters by name, connecting pins over their media types, running samples from a
// source to a renderer, removing filters, events.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/dshow/dshow.h"
#include "platform/dshow/mem_allocator.h"
#include "tests/platform/dshow/test_push_source.h"
#include "tests/platform/dshow/test_renderer.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

ComPtr<IGraphBuilder> NewGraph() {
    ComPtr<IGraphBuilder> graph;
    EXPECT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
    return graph;
}

// Adds a source and a renderer and connects the source's output to the renderer's input.
HRESULT AddAndConnect(const ComPtr<IGraphBuilder>& graph, IBaseFilter* source, IBaseFilter* sink) {
    graph->AddFilter(source, "Source");
    graph->AddFilter(sink, "Sink");
    return graph->Connect(fw_test::FirstPin(source, PINDIR_OUTPUT).Get(), fw_test::FirstPin(sink, PINDIR_INPUT).Get());
}

std::string NameOf(IBaseFilter* f) {
    FILTER_INFO info{};
    f->QueryFilterInfo(&info);
    if (info.pGraph) info.pGraph->Release();
    return info.achName;
}

}  // namespace

TEST(FilterGraph, NamesFiltersUniquelyAndFindsAndEnumeratesThem) {
    auto graph = NewGraph();
    auto a = fw_test::TRecordingRenderer::Create(GUID_NULL, nullptr);
    auto b = fw_test::TRecordingRenderer::Create(GUID_NULL, nullptr);
    EXPECT_EQ(graph->AddFilter(a.Get(), "Sink"), S_OK);
    EXPECT_EQ(graph->AddFilter(b.Get(), "Sink"), VFW_S_DUPLICATE_NAME);
    EXPECT_EQ(graph->AddFilter(a.Get(), "Again"), E_INVALIDARG);
    EXPECT_EQ(NameOf(b.Get()), "Sink 0001");

    ComPtr<IBaseFilter> found;
    EXPECT_EQ(graph->FindFilterByName("Sink 0001", found.Put()), S_OK);
    EXPECT_EQ(found.Get(), b.Get());
    EXPECT_EQ(graph->FindFilterByName("nope", found.Put()), VFW_E_NOT_FOUND);

    ComPtr<IEnumFilters> e;
    ASSERT_EQ(graph->EnumFilters(e.Put()), S_OK);
    IBaseFilter* list[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(3, list, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(list[0], a.Get());
    EXPECT_EQ(list[1], b.Get());
    for (ULONG i = 0; i < fetched; ++i) list[i]->Release();

    EXPECT_EQ(graph->RemoveFilter(a.Get()), S_OK);
    EXPECT_EQ(graph->RemoveFilter(a.Get()), VFW_E_NOT_FOUND);
    EXPECT_EQ(graph->FindFilterByName("Sink", found.Put()), VFW_E_NOT_FOUND);
}

TEST(FilterGraph, ConnectPicksTheFirstOfferedTypeTheInputAccepts) {
    auto graph = NewGraph();
    fw_test::TPushStream* stream = nullptr;
    auto source = fw_test::TPushSource::Create(
        {fw_test::AudioType(48000, 2), fw_test::VideoType(MEDIASUBTYPE_RGB32, 64, 48, 32, 400000),
         fw_test::VideoType(MEDIASUBTYPE_YV12, 64, 48, 12, 400000)},
        4096, &stream);
    auto sink = fw_test::TRecordingRenderer::Create(MEDIATYPE_Video, nullptr);
    graph->AddFilter(source.Get(), "Source");
    graph->AddFilter(sink.Get(), "Sink");
    auto out = fw_test::FirstPin(source.Get(), PINDIR_OUTPUT);
    auto in = fw_test::FirstPin(sink.Get(), PINDIR_INPUT);

    EXPECT_EQ(graph->ConnectDirect(in.Get(), out.Get(), nullptr), VFW_E_INVALID_DIRECTION);
    ASSERT_EQ(graph->Connect(out.Get(), in.Get()), S_OK);
    AM_MEDIA_TYPE mt{};
    ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_RGB32);
    FreeMediaType(mt);
    EXPECT_EQ(graph->Connect(out.Get(), in.Get()), VFW_E_ALREADY_CONNECTED);

    // A given partial type narrows the choice.
    ASSERT_EQ(graph->Disconnect(out.Get()), S_OK);
    ASSERT_EQ(graph->Disconnect(in.Get()), S_OK);
    dshow::TMediaType yv12(MEDIATYPE_Video, MEDIASUBTYPE_YV12);
    yv12->formattype = GUID_NULL;
    ASSERT_EQ(graph->ConnectDirect(out.Get(), in.Get(), yv12.get()), S_OK);
    ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_YV12);
    FreeMediaType(mt);
}

TEST(FilterGraph, PinsWithoutACommonTypeDoNotConnect) {
    auto graph = NewGraph();
    auto source = fw_test::TPushSource::Create({fw_test::AudioType(8000, 1)}, 1024, nullptr);
    auto sink = fw_test::TRecordingRenderer::Create(MEDIATYPE_Video, nullptr);
    graph->AddFilter(source.Get(), "Source");
    graph->AddFilter(sink.Get(), "Sink");
    auto out = fw_test::FirstPin(source.Get(), PINDIR_OUTPUT);
    auto in = fw_test::FirstPin(sink.Get(), PINDIR_INPUT);
    EXPECT_EQ(graph->Connect(out.Get(), in.Get()), VFW_E_NO_ACCEPTABLE_TYPES);
    IPin* peer = nullptr;
    EXPECT_EQ(out->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);

    // A filter outside the graph cannot be connected through it.
    auto stranger = fw_test::TRecordingRenderer::Create(GUID_NULL, nullptr);
    auto strangerIn = fw_test::FirstPin(stranger.Get(), PINDIR_INPUT);
    EXPECT_EQ(graph->ConnectDirect(out.Get(), strangerIn.Get(), nullptr), VFW_E_NOT_IN_GRAPH);
}

TEST(FilterGraph, RunDeliversSamplesInOrderAndStopEndsTheStream) {
    auto graph = NewGraph();
    fw_test::TPushStream* stream = nullptr;
    fw_test::TRecordingRenderer* renderer = nullptr;
    auto source = fw_test::TPushSource::Create({fw_test::AudioType(8000, 1)}, 1024, &stream);
    auto sink = fw_test::TRecordingRenderer::Create(GUID_NULL, &renderer);
    ASSERT_EQ(AddAndConnect(graph, source.Get(), sink.Get()), S_OK);
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph.As(control), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    OAFilterState state = -1;
    EXPECT_EQ(control->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(graph->RemoveFilter(sink.Get()), VFW_E_NOT_STOPPED);

    for (uint8_t i = 0; i < 20; ++i) stream->Push({std::vector<uint8_t>(10 + i, i), std::nullopt});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return renderer->Rendered().size() == 20; }, 5s));
    const auto rendered = renderer->Rendered();
    for (size_t i = 0; i < rendered.size(); ++i) {
        EXPECT_EQ(rendered[i].size(), 10 + i);
        EXPECT_EQ(rendered[i][0], i);
    }
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(renderer->actives.load(), 1);
    EXPECT_EQ(renderer->inactives.load(), 1);

    // Removing a connected filter disconnects its peer too.
    auto out = fw_test::FirstPin(source.Get(), PINDIR_OUTPUT);
    ASSERT_EQ(graph->RemoveFilter(sink.Get()), S_OK);
    IPin* peer = nullptr;
    EXPECT_EQ(out->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
}

TEST(FilterGraph, AnOutputPinsPreferredAllocatorCarriesItsSamples) {
    auto graph = NewGraph();
    fw_test::TPushStream* stream = nullptr;
    fw_test::TRecordingRenderer* renderer = nullptr;
    auto source = fw_test::TPushSource::Create({fw_test::AudioType(8000, 1)}, 1024, &stream);
    auto sink = fw_test::TRecordingRenderer::Create(GUID_NULL, &renderer);
    // Buffers from a memory source of the test's own, so their use can be seen.
    auto given = std::make_shared<std::atomic<int>>(0);
    stream->PreferAllocator(dshow::TMemAllocator::Create([given](size_t bytes) {
        ++*given;
        return dshow::HeapSampleMemory(bytes);
    }));
    ASSERT_EQ(AddAndConnect(graph, source.Get(), sink.Get()), S_OK);
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph.As(control), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_EQ(given->load(), 4);  // the pin's four buffers, made when the allocator was committed
    stream->Push({std::vector<uint8_t>(16, 7), std::nullopt});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return renderer->Rendered().size() == 1; }, 5s));
    EXPECT_EQ(renderer->Rendered()[0], std::vector<uint8_t>(16, 7));
    ASSERT_EQ(control->Stop(), S_OK);
}

TEST(FilterGraph, EndOfStreamOfEveryRendererCompletesTheGraph) {
    auto graph = NewGraph();
    fw_test::TPushStream* stream = nullptr;
    auto source = fw_test::TPushSource::Create({fw_test::AudioType(8000, 1)}, 1024, &stream);
    auto sink = fw_test::TRecordingRenderer::Create(GUID_NULL, nullptr);
    ASSERT_EQ(AddAndConnect(graph, source.Get(), sink.Get()), S_OK);
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    ASSERT_EQ(graph.As(control), S_OK);
    ASSERT_EQ(graph.As(events), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    LONG code = -1;
    EXPECT_EQ(events->WaitForCompletion(50, &code), E_ABORT);
    EXPECT_EQ(code, 0);
    stream->Push({{1, 2, 3}, std::nullopt});
    stream->Push({{}, std::nullopt, true});
    EXPECT_EQ(events->WaitForCompletion(5000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    EXPECT_EQ(control->Stop(), S_OK);
}
