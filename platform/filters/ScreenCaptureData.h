// The screen-capture filter's own interface, as its callers see it: the class identifier of the filter,
// IScreenCaptureData with its eight methods in their fixed order, and the stream a grabbed picture is
// written into. The filter lives in its own in-process server; everything crossing this interface is a
// plain value, a pointer or an abstract class, and nothing throws across it.
#pragma once

#include <cstdint>

#include "platform/com/com.h"
#include "platform/filters/FrameStream.h"
#include "platform/filters/ScreenCaptureFilterParams.h"

// {7D0B3596-41C5-4772-9D3F-07F7DFFC60B6}
constexpr CLSID CLSID_ScreenCaptureFilter = {
    0x7D0B3596, 0x41C5, 0x4772, {0x9D, 0x3F, 0x07, 0xF7, 0xDF, 0xFC, 0x60, 0xB6}};

struct IScreenCaptureData : IUnknown {
    // {F5E921BD-D216-42DC-A844-167EB2518769}
    static constexpr IID iid = {0xF5E921BD, 0xD216, 0x42DC, {0xA8, 0x44, 0x16, 0x7E, 0xB2, 0x51, 0x87, 0x69}};

    // [1] The capture settings, 716 bytes by value. S_OK when taken; E_INVALIDARG for a record the filter
    // cannot capture with (no positive size); E_UNEXPECTED while the filter is streaming.
    virtual HRESULT SetCaptureParams(TScreenCaptureFilterParams params) = 0;
    // [2] The record last taken by SetCaptureParams (all zero before); E_POINTER for nullptr.
    virtual HRESULT GetCaptureParams(TScreenCaptureFilterParams* params) = 0;
    // [3] Pictures delivered on the output pin since the filter last started; E_POINTER for nullptr.
    virtual HRESULT GetFrameCount(int64_t* frames) = 0;
    // [4] Frees the picture kept since the last GetImage.
    virtual HRESULT ReleaseImage() = 0;
    // [5] TRUE when pictures come from the display server, FALSE when from the moving test pattern.
    virtual HRESULT IsDisplayCapture(BOOL* fromDisplay) = 0;
    // [6] Not used; the slot keeps GetImage in seventh place. Answers E_NOTIMPL.
    virtual HRESULT Reserved6() = 0;
    // [7] Grabs one picture of the capture area now and replaces the stream's content with it as a bitmap
    // file (32 bits per pixel, rows bottom-up). False when no picture could be made or written.
    virtual bool GetImage(IFrameStream* stream) = 0;
    // [8] Not used. Answers E_NOTIMPL.
    virtual HRESULT Reserved8() = 0;

protected:
    ~IScreenCaptureData() = default;
};
