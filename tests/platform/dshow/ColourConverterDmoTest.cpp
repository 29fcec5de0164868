#include "platform/dshow/ColourConverterDmo.h"

#include <gtest/gtest.h>

#include "platform/dshow/media_type.h"

namespace dshow {
namespace {

TMediaType VideoType(const GUID& subtype, int width, int height, WORD bits) {
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = 400000;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = bits;
    TMediaType mt(MEDIATYPE_Video, subtype);
    mt.SetFormat(FORMAT_VideoInfo, &vih, sizeof vih);
    return mt;
}

ComPtr<IMediaObject> NewConverter() {
    ComPtr<IMediaObject> dmo;
    EXPECT_EQ(TColourConverterDmo::Create(nullptr, IMediaObject::iid, dmo.PutVoid()), S_OK);
    return dmo;
}

TEST(ColourConverterDmo, OffersOutputsOnlyAfterTheInputInTheirOrder) {
    ComPtr<IMediaObject> dmo = NewConverter();
    EXPECT_EQ(dmo->GetOutputType(0, 0, nullptr), DMO_E_TYPE_NOT_SET);
    ASSERT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB32, 64, 32, 32).get(), 0), S_OK);
    const GUID order[] = {MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24, MEDIASUBTYPE_YV12, MEDIASUBTYPE_I420};
    for (DWORD i = 0; i < 4; ++i) {
        AM_MEDIA_TYPE mt{};
        ASSERT_EQ(dmo->GetOutputType(0, i, &mt), S_OK);
        EXPECT_EQ(mt.subtype, order[i]);
        ASSERT_EQ(mt.formattype, FORMAT_VideoInfo);
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
        EXPECT_EQ(vih->bmiHeader.biWidth, 64);
        EXPECT_EQ(vih->bmiHeader.biHeight, 32);
        EXPECT_EQ(vih->AvgTimePerFrame, 400000);
        EXPECT_EQ(mt.lSampleSize, vih->bmiHeader.biSizeImage);
        FreeMediaType(mt);
    }
    EXPECT_EQ(dmo->GetOutputType(0, 4, nullptr), DMO_E_NO_MORE_ITEMS);
    EXPECT_EQ(dmo->GetOutputType(1, 0, nullptr), DMO_E_INVALIDSTREAMINDEX);
}

TEST(ColourConverterDmo, AcceptsRgb32InEitherRowOrderAndMatchingOutputs) {
    ComPtr<IMediaObject> dmo = NewConverter();
    EXPECT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB24, 64, 32, 24).get(), 0), S_FALSE);
    // A negative height is a top-down picture.
    EXPECT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB32, 64, -32, 32).get(), DMO_SET_TYPEF_TEST_ONLY), S_OK);
    EXPECT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB32, 0, 32, 32).get(), 0), S_FALSE);
    EXPECT_EQ(dmo->SetInputType(0, nullptr, 0), S_FALSE);
    EXPECT_EQ(dmo->SetOutputType(0, VideoType(MEDIASUBTYPE_YV12, 64, 32, 12).get(), 0), DMO_E_TYPE_NOT_SET);
    ASSERT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB32, 64, 32, 32).get(), 0), S_OK);
    EXPECT_EQ(dmo->SetOutputType(0, VideoType(MEDIASUBTYPE_YV12, 32, 32, 12).get(), 0), S_FALSE);
    EXPECT_EQ(dmo->SetOutputType(0, VideoType(MEDIASUBTYPE_PCM, 64, 32, 12).get(), 0), S_FALSE);
    EXPECT_EQ(dmo->SetOutputType(0, TMediaType(MEDIATYPE_Video, MEDIASUBTYPE_YV12).get(), 0), S_OK);
    DWORD size = 0, align = 0;
    EXPECT_EQ(dmo->GetOutputSizeInfo(0, &size, &align), S_OK);
    EXPECT_EQ(size, 64u * 32u * 3u / 2u);
}

TEST(ColourConverterDmo, ProcessesWholePicturesAndRefusesShortBuffers) {
    ComPtr<IMediaObject> dmo = NewConverter();
    ASSERT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB32, 16, 16, 32).get(), 0), S_OK);
    ASSERT_EQ(dmo->SetOutputType(0, VideoType(MEDIASUBTYPE_I420, 16, 16, 12).get(), 0), S_OK);
    std::vector<BYTE> in(16 * 16 * 4, 0), out(16 * 16 * 3 / 2);
    for (size_t i = 2; i < in.size(); i += 4) in[i] = 255;  // red
    DWORD written = 0;
    EXPECT_EQ(dmo->ProcessBuffer(in.data(), static_cast<DWORD>(in.size() - 1), out.data(),
                                 static_cast<DWORD>(out.size()), &written),
              E_INVALIDARG);
    EXPECT_EQ(dmo->ProcessBuffer(in.data(), static_cast<DWORD>(in.size()), out.data(),
                                 static_cast<DWORD>(out.size() - 1), &written),
              E_INVALIDARG);
    ASSERT_EQ(dmo->ProcessBuffer(in.data(), static_cast<DWORD>(in.size()), out.data(),
                                 static_cast<DWORD>(out.size()), &written),
              S_OK);
    EXPECT_EQ(written, out.size());
    // Pure red: 82, 90, 239 (the exact values 81.5 and 239.9 within one step).
    EXPECT_EQ(out[0], 82);
    EXPECT_EQ(out[256], 90);        // U follows Y in I420
    EXPECT_EQ(out[256 + 64], 239);  // then V
    // A new input type clears the output type.
    ASSERT_EQ(dmo->SetInputType(0, VideoType(MEDIASUBTYPE_RGB32, 16, 16, 32).get(), 0), S_OK);
    EXPECT_EQ(dmo->GetOutputSizeInfo(0, &written, &written), DMO_E_TYPE_NOT_SET);
}

}  // namespace
}  // namespace dshow
