// DirectX media objects (DMOs) and the wrapper filter that puts one into a filter graph: the class and
// category identifiers the engine names, IDMOWrapperFilter, and a small IMediaObject with one input and
// one output stream and whole-picture processing.
#pragma once

#include "platform/dshow/dshow.h"

constexpr CLSID CLSID_DMOWrapperFilter = {
    0x94297043, 0xBD82, 0x4DFD, {0xB0, 0xDE, 0x81, 0x77, 0x73, 0x9C, 0x6D, 0x20}};
constexpr CLSID CLSID_CColorConvertDMO = {
    0x98230571, 0x0087, 0x4204, {0xB0, 0x20, 0x32, 0x82, 0x53, 0x8E, 0x57, 0xD3}};
constexpr GUID DMOCATEGORY_VIDEO_EFFECT = {
    0xD990EE14, 0x776C, 0x4723, {0xBE, 0x46, 0x3D, 0xA2, 0xF5, 0x6F, 0x10, 0xB9}};

constexpr HRESULT DMO_E_INVALIDSTREAMINDEX = MakeHResult(0x80040201);
constexpr HRESULT DMO_E_INVALIDTYPE = MakeHResult(0x80040202);
constexpr HRESULT DMO_E_TYPE_NOT_SET = MakeHResult(0x80040203);
constexpr HRESULT DMO_E_NOTACCEPTING = MakeHResult(0x80040204);
constexpr HRESULT DMO_E_TYPE_NOT_ACCEPTED = MakeHResult(0x80040205);
constexpr HRESULT DMO_E_NO_MORE_ITEMS = MakeHResult(0x80040206);

// SetInputType / SetOutputType flags.
constexpr DWORD DMO_SET_TYPEF_TEST_ONLY = 0x1;
constexpr DWORD DMO_SET_TYPEF_CLEAR = 0x2;

struct IMediaObject : IUnknown {
    static constexpr IID iid = {0xD8AD0F58, 0x5494, 0x4102, {0x97, 0xC5, 0xEC, 0x79, 0x8E, 0x59, 0xBC, 0xF4}};
    virtual HRESULT GetStreamCount(DWORD* inputStreams, DWORD* outputStreams) = 0;
    // The types a stream offers, by index; DMO_E_NO_MORE_ITEMS past the last, DMO_E_TYPE_NOT_SET for an
    // output before the input type is set. pmt may be null to ask only whether the index exists; a type
    // handed out is the caller's to free (FreeMediaType).
    virtual HRESULT GetInputType(DWORD stream, DWORD index, AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT GetOutputType(DWORD stream, DWORD index, AM_MEDIA_TYPE* pmt) = 0;
    // S_OK when the type is (or would be, with DMO_SET_TYPEF_TEST_ONLY) taken; S_FALSE when refused.
    // Setting the input type clears the output type.
    virtual HRESULT SetInputType(DWORD stream, const AM_MEDIA_TYPE* pmt, DWORD flags) = 0;
    virtual HRESULT SetOutputType(DWORD stream, const AM_MEDIA_TYPE* pmt, DWORD flags) = 0;
    virtual HRESULT GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) = 0;
    virtual HRESULT Flush() = 0;
    // Converts one whole input picture into one output picture: input bytes in, output buffer and its
    // capacity; *written receives the output length. E_INVALIDARG when a buffer is too small.
    virtual HRESULT ProcessBuffer(const BYTE* input, DWORD inputLength, BYTE* output, DWORD outputCapacity,
                                  DWORD* written) = 0;

protected:
    ~IMediaObject() = default;
};

struct IDMOWrapperFilter : IUnknown {
    static constexpr IID iid = {0x52D6F586, 0x9F0F, 0x4824, {0x8F, 0xC8, 0xE3, 0x2C, 0xA0, 0x49, 0x30, 0xC2}};
    // Creates the DMO of that class and puts it inside the filter; once only.
    virtual HRESULT Init(REFCLSID clsidDMO, REFCLSID catDMO) = 0;

protected:
    ~IDMOWrapperFilter() = default;
};
