#include "platform/dshow/ColourConverterDmo.h"

#include <cstdlib>
#include <cstring>

namespace dshow {
namespace {

using platform::TPictureFormat;

struct TOutputKind {
    const GUID* Subtype;
    TPictureFormat Format;
    WORD BitCount;
    DWORD Compression;  // BI_RGB or the four-character code
};
// The order the converter offers its outputs in.
constexpr TOutputKind kOutputs[] = {
    {&MEDIASUBTYPE_RGB32, TPictureFormat::Rgb32, 32, 0},
    {&MEDIASUBTYPE_RGB24, TPictureFormat::Rgb24, 24, 0},
    {&MEDIASUBTYPE_YV12, TPictureFormat::Yv12, 12, 0x32315659},
    {&MEDIASUBTYPE_I420, TPictureFormat::I420, 12, 0x30323449},
};
constexpr DWORD kOutputCount = sizeof(kOutputs) / sizeof(kOutputs[0]);
constexpr int kMaxPictureSide = 16384;

HRESULT HandOut(const TMediaType& type, AM_MEDIA_TYPE* pmt) {
    if (!pmt) return S_OK;
    return CopyMediaType(pmt, type.get());
}

}  // namespace

HRESULT TColourConverterDmo::Create(IUnknown* outer, REFIID riid, void** ppv) {
    return CreateMadeObject(outer, riid, ppv, [] { return new TColourConverterDmo(); });
}

HRESULT TColourConverterDmo::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IMediaObject::iid) return GetInterface(static_cast<IMediaObject*>(this), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TColourConverterDmo::GetStreamCount(DWORD* inputStreams, DWORD* outputStreams) {
    if (!inputStreams || !outputStreams) return E_POINTER;
    *inputStreams = 1;
    *outputStreams = 1;
    return S_OK;
}

HRESULT TColourConverterDmo::GetInputType(DWORD stream, DWORD index, AM_MEDIA_TYPE* pmt) {
    if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (index != 0) return DMO_E_NO_MORE_ITEMS;
    return HandOut(TMediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32), pmt);  // size left open
}

std::optional<TMediaType> TColourConverterDmo::OutputTypeFor(const VIDEOINFOHEADER& input, DWORD index) {
    if (index >= kOutputCount) return std::nullopt;
    const TOutputKind& kind = kOutputs[index];
    const int width = input.bmiHeader.biWidth, height = std::abs(input.bmiHeader.biHeight);
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = input.AvgTimePerFrame;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;  // RGB bottom-up; YUV is top-down whatever the sign
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = kind.BitCount;
    vih.bmiHeader.biCompression = kind.Compression;
    vih.bmiHeader.biSizeImage = static_cast<DWORD>(platform::PictureBytes(kind.Format, width, height));
    TMediaType type(MEDIATYPE_Video, *kind.Subtype);
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = vih.bmiHeader.biSizeImage;
    if (!type.SetFormat(FORMAT_VideoInfo, &vih, sizeof vih)) return std::nullopt;
    return type;
}

HRESULT TColourConverterDmo::GetOutputType(DWORD stream, DWORD index, AM_MEDIA_TYPE* pmt) {
    if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
    std::lock_guard lock(mutex_);
    if (!inputFormat_) return DMO_E_TYPE_NOT_SET;  // nothing to offer before the input is known
    const std::optional<TMediaType> type = OutputTypeFor(*inputFormat_, index);
    if (!type) return DMO_E_NO_MORE_ITEMS;
    return HandOut(*type, pmt);
}

std::optional<TColourConverterDmo::TPicture> TColourConverterDmo::InputPicture(const AM_MEDIA_TYPE* pmt) {
    if (!pmt || pmt->majortype != MEDIATYPE_Video || pmt->subtype != MEDIASUBTYPE_RGB32) return std::nullopt;
    if (pmt->formattype != FORMAT_VideoInfo || !pmt->pbFormat || pmt->cbFormat < sizeof(VIDEOINFOHEADER))
        return std::nullopt;
    VIDEOINFOHEADER vih;
    std::memcpy(&vih, pmt->pbFormat, sizeof vih);
    const BITMAPINFOHEADER& bmi = vih.bmiHeader;
    // A positive height means rows bottom-up, a negative one top-down.
    const int height = std::abs(bmi.biHeight);
    if (bmi.biBitCount != 32 || bmi.biCompression != 0 || bmi.biWidth < 1 || bmi.biWidth > kMaxPictureSide ||
        height < 1 || height > kMaxPictureSide)
        return std::nullopt;
    const platform::TRowOrder order = bmi.biHeight < 0 ? platform::TRowOrder::TopDown : platform::TRowOrder::BottomUp;
    return TPicture{bmi.biWidth, height, vih.AvgTimePerFrame, order};
}

HRESULT TColourConverterDmo::SetInputType(DWORD stream, const AM_MEDIA_TYPE* pmt, DWORD flags) {
    if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
    std::lock_guard lock(mutex_);
    if (flags & DMO_SET_TYPEF_CLEAR) {
        input_.reset();
        inputFormat_.reset();
        output_.reset();
        return S_OK;
    }
    const std::optional<TPicture> picture = InputPicture(pmt);
    if (!picture) return S_FALSE;
    if (flags & DMO_SET_TYPEF_TEST_ONLY) return S_OK;
    input_ = picture;
    VIDEOINFOHEADER vih;
    std::memcpy(&vih, pmt->pbFormat, sizeof vih);
    inputFormat_ = vih;
    output_.reset();  // a new input invalidates the output type
    return S_OK;
}

std::optional<platform::TPictureFormat> TColourConverterDmo::OutputFormat(const AM_MEDIA_TYPE* pmt) const {
    if (!pmt || !input_ || pmt->majortype != MEDIATYPE_Video) return std::nullopt;
    for (const TOutputKind& kind : kOutputs) {
        if (pmt->subtype != *kind.Subtype) continue;
        // A type without a format block takes the input's size; one with a block must match it.
        if (pmt->formattype == FORMAT_VideoInfo && pmt->pbFormat && pmt->cbFormat >= sizeof(VIDEOINFOHEADER)) {
            VIDEOINFOHEADER vih;
            std::memcpy(&vih, pmt->pbFormat, sizeof vih);
            if (vih.bmiHeader.biWidth != input_->Width || std::abs(vih.bmiHeader.biHeight) != input_->Height)
                return std::nullopt;
            // Negative heights would mean top-down RGB, which the converter does not write.
            if (kind.Format != TPictureFormat::Yv12 && kind.Format != TPictureFormat::I420 &&
                vih.bmiHeader.biHeight < 0)
                return std::nullopt;
        }
        return kind.Format;
    }
    return std::nullopt;
}

HRESULT TColourConverterDmo::SetOutputType(DWORD stream, const AM_MEDIA_TYPE* pmt, DWORD flags) {
    if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
    std::lock_guard lock(mutex_);
    if (flags & DMO_SET_TYPEF_CLEAR) {
        output_.reset();
        return S_OK;
    }
    if (!input_) return DMO_E_TYPE_NOT_SET;
    const std::optional<platform::TPictureFormat> format = OutputFormat(pmt);
    if (!format) return S_FALSE;
    if (!(flags & DMO_SET_TYPEF_TEST_ONLY)) output_ = format;
    return S_OK;
}

HRESULT TColourConverterDmo::GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) {
    if (stream != 0) return DMO_E_INVALIDSTREAMINDEX;
    if (!size || !alignment) return E_POINTER;
    std::lock_guard lock(mutex_);
    if (!input_ || !output_) return DMO_E_TYPE_NOT_SET;
    *size = static_cast<DWORD>(platform::PictureBytes(*output_, input_->Width, input_->Height));
    *alignment = 1;
    return S_OK;
}

HRESULT TColourConverterDmo::Flush() { return S_OK; }  // nothing is held between pictures

HRESULT TColourConverterDmo::ProcessBuffer(const BYTE* input, DWORD inputLength, BYTE* output,
                                           DWORD outputCapacity, DWORD* written) {
    if (!input || !output || !written) return E_POINTER;
    *written = 0;
    std::lock_guard lock(mutex_);
    if (!input_ || !output_) return DMO_E_TYPE_NOT_SET;
    const size_t inBytes = platform::PictureBytes(TPictureFormat::Rgb32, input_->Width, input_->Height);
    const size_t outBytes = platform::PictureBytes(*output_, input_->Width, input_->Height);
    if (inputLength < inBytes || outputCapacity < outBytes) return E_INVALIDARG;
    if (!platform::ConvertRgb32(input, input_->Width, input_->Height, *output_, output, input_->Rows)) return E_FAIL;
    *written = static_cast<DWORD>(outBytes);
    return S_OK;
}

}  // namespace dshow
