// The colour-converter DMO: takes RGB32 video (rows bottom-up, or top-down for a negative height) and
// offers, once its input type is set, RGB32, RGB24 (both bottom-up), YV12 and I420 of the same size, in
// that order.
#pragma once

#include <mutex>
#include <optional>

#include "platform/dshow/ColourConversion.h"
#include "platform/dshow/MediaObject.h"
#include "platform/dshow/media_type.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TColourConverterDmo final : public IMediaObject, public TUnknown {
public:
    // The COM creation function (a built-in class of the process).
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT GetStreamCount(DWORD* inputStreams, DWORD* outputStreams) override;
    HRESULT GetInputType(DWORD stream, DWORD index, AM_MEDIA_TYPE* pmt) override;
    HRESULT GetOutputType(DWORD stream, DWORD index, AM_MEDIA_TYPE* pmt) override;
    HRESULT SetInputType(DWORD stream, const AM_MEDIA_TYPE* pmt, DWORD flags) override;
    HRESULT SetOutputType(DWORD stream, const AM_MEDIA_TYPE* pmt, DWORD flags) override;
    HRESULT GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) override;
    HRESULT Flush() override;
    HRESULT ProcessBuffer(const BYTE* input, DWORD inputLength, BYTE* output, DWORD outputCapacity,
                          DWORD* written) override;

    // The output type offered at index for a given RGB32 input (none past the last).
    static std::optional<TMediaType> OutputTypeFor(const VIDEOINFOHEADER& input, DWORD index);

private:
    TColourConverterDmo() = default;
    ~TColourConverterDmo() override = default;

    struct TPicture {
        int Width = 0, Height = 0;
        REFERENCE_TIME AvgTimePerFrame = 0;
        platform::TRowOrder Rows = platform::TRowOrder::BottomUp;
    };
    // The picture an acceptable RGB32 input type describes.
    static std::optional<TPicture> InputPicture(const AM_MEDIA_TYPE* pmt);
    // The output format an output type names, when it matches the input picture.
    std::optional<platform::TPictureFormat> OutputFormat(const AM_MEDIA_TYPE* pmt) const;

    std::mutex mutex_;
    std::optional<TPicture> input_;
    std::optional<VIDEOINFOHEADER> inputFormat_;
    std::optional<platform::TPictureFormat> output_;
};

}  // namespace dshow
