// The transform base: a filter between source and renderer that turns each sample into another type.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/dshow/transform_filter.h"
#include "tests/platform/dshow/test_push_source.h"
#include "tests/platform/dshow/test_renderer.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

constexpr CLSID kInverterClsid = {0x1B2C3D4E, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x03}};

// RGB32 in, YV12 out (the name only: it inverts every byte), like a colour converter.
class TInverter final : public dshow::TTransformFilter {
public:
    TInverter() : dshow::TTransformFilter("Inverter", kInverterClsid) {}
    HRESULT CheckInputType(const AM_MEDIA_TYPE* in) override {
        return in->subtype == MEDIASUBTYPE_RGB32 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT CheckTransform(const AM_MEDIA_TYPE*, const AM_MEDIA_TYPE* out) override {
        return out->subtype == MEDIASUBTYPE_YV12 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT GetMediaType(int position, dshow::TMediaType* mt) override {
        if (position > 0) return VFW_S_NO_MORE_ITEMS;
        *mt = fw_test::VideoType(MEDIASUBTYPE_YV12, 8, 8, 12, 0);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        request->cBuffers = 2;
        request->cbBuffer = 4096;
        ALLOCATOR_PROPERTIES actual{};
        return allocator->SetProperties(request, &actual);
    }
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override {
        BYTE *src = nullptr, *dst = nullptr;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        const LONG n = in->GetActualDataLength();
        if (n == 0) return S_FALSE;
        for (LONG i = 0; i < n; ++i) dst[i] = static_cast<BYTE>(~src[i]);
        out->SetActualDataLength(n);
        return S_OK;
    }
};

}  // namespace

TEST(TransformFilter, ConnectsInputFirstAndTransformsEverySample) {
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
    fw_test::TPushStream* stream = nullptr;
    fw_test::TRecordingRenderer* renderer = nullptr;
    auto source = fw_test::TPushSource::Create({fw_test::VideoType(MEDIASUBTYPE_RGB32, 8, 8, 32, 0)}, 4096, &stream);
    ComPtr<IBaseFilter> inverter;
    ASSERT_EQ(dshow::QueryNewObject(new TInverter, IID_IBaseFilter, inverter.PutVoid()), S_OK);
    auto sink = fw_test::TRecordingRenderer::Create(MEDIATYPE_Video, &renderer);
    graph->AddFilter(source.Get(), "Source");
    graph->AddFilter(inverter.Get(), "Inverter");
    graph->AddFilter(sink.Get(), "Sink");

    auto xformOut = fw_test::FirstPin(inverter.Get(), PINDIR_OUTPUT);
    auto sinkIn = fw_test::FirstPin(sink.Get(), PINDIR_INPUT);
    EXPECT_EQ(graph->ConnectDirect(xformOut.Get(), sinkIn.Get(), nullptr), VFW_E_NOT_CONNECTED);
    ASSERT_EQ(graph->ConnectDirect(fw_test::FirstPin(source.Get(), PINDIR_OUTPUT).Get(),
                                   fw_test::FirstPin(inverter.Get(), PINDIR_INPUT).Get(), nullptr),
              S_OK);
    ASSERT_EQ(graph->ConnectDirect(xformOut.Get(), sinkIn.Get(), nullptr), S_OK);
    AM_MEDIA_TYPE mt{};
    ASSERT_EQ(sinkIn->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(mt.subtype, MEDIASUBTYPE_YV12);
    FreeMediaType(mt);

    ComPtr<IMediaControl> control;
    graph.As(control);
    ASSERT_EQ(control->Run(), S_OK);
    stream->Push({{0x00, 0x0F, 0xF0}, std::nullopt});
    stream->Push({{}, std::nullopt});  // dropped by the transform
    stream->Push({{0xFF}, std::nullopt});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return renderer->Rendered().size() == 2; }, 3s));
    EXPECT_EQ(renderer->Rendered()[0], (std::vector<uint8_t>{0xFF, 0xF0, 0x0F}));
    EXPECT_EQ(renderer->Rendered()[1], (std::vector<uint8_t>{0x00}));
    EXPECT_EQ(control->Stop(), S_OK);
}
