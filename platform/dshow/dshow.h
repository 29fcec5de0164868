// The mini-DirectShow: media types, filters, pins, samples and allocators, the reference clock and the
// filter graph manager, with the interface identifiers and method order of their counterparts elsewhere.
// Names are UTF-8 strings (char) where the counterpart uses wide strings. Every interface derives from
// the mini-COM's IUnknown; pins delegate their reference counts to the filter that owns them.
#pragma once

#include <cstdint>

#include "platform/com/com.h"

using REFERENCE_TIME = int64_t;  // 100-nanosecond units
using LONG = int32_t;
using UINT = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using LONG_PTR = intptr_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

constexpr REFERENCE_TIME kUnitsPerSecond = 10'000'000;
constexpr REFERENCE_TIME kUnitsPerMillisecond = 10'000;

// ---- result codes ----------------------------------------------------------------------------------
constexpr HRESULT VFW_S_NO_MORE_ITEMS = MakeHResult(0x00040103);
constexpr HRESULT VFW_S_DUPLICATE_NAME = MakeHResult(0x0004022D);
constexpr HRESULT VFW_S_STATE_INTERMEDIATE = MakeHResult(0x00040237);
constexpr HRESULT VFW_S_NO_STOP_TIME = MakeHResult(0x00040270);
constexpr HRESULT VFW_E_INVALIDMEDIATYPE = MakeHResult(0x80040200);
constexpr HRESULT VFW_E_INVALIDSUBTYPE = MakeHResult(0x80040201);
constexpr HRESULT VFW_E_NEED_OWNER = MakeHResult(0x80040202);
constexpr HRESULT VFW_E_ENUM_OUT_OF_SYNC = MakeHResult(0x80040203);
constexpr HRESULT VFW_E_ALREADY_CONNECTED = MakeHResult(0x80040204);
constexpr HRESULT VFW_E_FILTER_ACTIVE = MakeHResult(0x80040205);
constexpr HRESULT VFW_E_NO_TYPES = MakeHResult(0x80040206);
constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = MakeHResult(0x80040207);
constexpr HRESULT VFW_E_INVALID_DIRECTION = MakeHResult(0x80040208);
constexpr HRESULT VFW_E_NOT_CONNECTED = MakeHResult(0x80040209);
constexpr HRESULT VFW_E_NO_ALLOCATOR = MakeHResult(0x8004020A);
constexpr HRESULT VFW_E_RUNTIME_ERROR = MakeHResult(0x8004020B);
constexpr HRESULT VFW_E_BUFFER_NOTSET = MakeHResult(0x8004020C);
constexpr HRESULT VFW_E_BUFFER_OVERFLOW = MakeHResult(0x8004020D);
constexpr HRESULT VFW_E_BADALIGN = MakeHResult(0x8004020E);
constexpr HRESULT VFW_E_ALREADY_COMMITTED = MakeHResult(0x8004020F);
constexpr HRESULT VFW_E_BUFFERS_OUTSTANDING = MakeHResult(0x80040210);
constexpr HRESULT VFW_E_NOT_COMMITTED = MakeHResult(0x80040211);
constexpr HRESULT VFW_E_SIZENOTSET = MakeHResult(0x80040212);
constexpr HRESULT VFW_E_NO_CLOCK = MakeHResult(0x80040213);
constexpr HRESULT VFW_E_NO_SINK = MakeHResult(0x80040214);
constexpr HRESULT VFW_E_NO_INTERFACE = MakeHResult(0x80040215);
constexpr HRESULT VFW_E_NOT_FOUND = MakeHResult(0x80040216);
constexpr HRESULT VFW_E_CANNOT_CONNECT = MakeHResult(0x80040217);
constexpr HRESULT VFW_E_CANNOT_RENDER = MakeHResult(0x80040218);
constexpr HRESULT VFW_E_CHANGING_FORMAT = MakeHResult(0x80040219);
constexpr HRESULT VFW_E_STATE_CHANGED = MakeHResult(0x80040223);
constexpr HRESULT VFW_E_NOT_STOPPED = MakeHResult(0x80040224);
constexpr HRESULT VFW_E_NOT_PAUSED = MakeHResult(0x80040225);
constexpr HRESULT VFW_E_NOT_RUNNING = MakeHResult(0x80040226);
constexpr HRESULT VFW_E_WRONG_STATE = MakeHResult(0x80040227);
constexpr HRESULT VFW_E_START_TIME_AFTER_END = MakeHResult(0x80040228);
constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = MakeHResult(0x8004022A);
constexpr HRESULT VFW_E_SAMPLE_REJECTED = MakeHResult(0x8004022B);
constexpr HRESULT VFW_E_SAMPLE_REJECTED_EOS = MakeHResult(0x8004022C);
constexpr HRESULT VFW_E_DUPLICATE_NAME = MakeHResult(0x8004022D);
constexpr HRESULT VFW_E_TIMEOUT = MakeHResult(0x8004022E);
constexpr HRESULT VFW_E_SAMPLE_TIME_NOT_SET = MakeHResult(0x80040249);
constexpr HRESULT VFW_E_MEDIA_TIME_NOT_SET = MakeHResult(0x80040251);
constexpr HRESULT VFW_E_NOT_IN_GRAPH = MakeHResult(0x8004025F);
constexpr HRESULT VFW_E_NO_TRANSPORT = MakeHResult(0x80040266);

// ---- events (IMediaEvent) --------------------------------------------------------------------------
constexpr LONG EC_COMPLETE = 0x01;
constexpr LONG EC_USERABORT = 0x02;
constexpr LONG EC_ERRORABORT = 0x03;

// ---- identifiers -----------------------------------------------------------------------------------
constexpr CLSID CLSID_FilterGraph = {0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr CLSID CLSID_SystemClock = {0xE436EBB1, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr CLSID CLSID_MemoryAllocator = {0x1E651CC0, 0xB199, 0x11D0, {0x82, 0x12, 0x00, 0xC0, 0x4F, 0xC3, 0x2C, 0x45}};
constexpr CLSID CLSID_FilterMapper2 = {0xCDA42200, 0xBD88, 0x11D0, {0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr CLSID CLSID_LegacyAmFilterCategory = {
    0x083863F1, 0x70DE, 0x11D0, {0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

constexpr GUID MEDIATYPE_Video = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID MEDIATYPE_Audio = {0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID MEDIATYPE_Stream = {0xE436EB83, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr GUID MEDIASUBTYPE_RGB24 = {0xE436EB7D, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr GUID MEDIASUBTYPE_RGB32 = {0xE436EB7E, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
constexpr GUID MEDIASUBTYPE_YV12 = {0x32315659, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID MEDIASUBTYPE_I420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID MEDIASUBTYPE_VP80 = {0x30385056, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID MEDIASUBTYPE_PCM = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr GUID FORMAT_None = {0x0F6417D6, 0xC318, 0x11D0, {0xA4, 0x3F, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
constexpr GUID FORMAT_VideoInfo = {0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
constexpr GUID FORMAT_WaveFormatEx = {0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};

// ---- structures ------------------------------------------------------------------------------------
struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;
    ULONG cbFormat;
    BYTE* pbFormat;  // CoTaskMemAlloc'd, cbFormat bytes
};

struct RECT {
    LONG left, top, right, bottom;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
};
static_assert(sizeof(VIDEOINFOHEADER) == 88);

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
constexpr WORD WAVE_FORMAT_PCM = 1;

enum FILTER_STATE : int32_t { State_Stopped = 0, State_Paused = 1, State_Running = 2 };
enum PIN_DIRECTION : int32_t { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

constexpr int kMaxFilterName = 128;

struct IFilterGraph;
struct IBaseFilter;

struct PIN_INFO {
    IBaseFilter* pFilter;  // AddRef'd for the caller
    PIN_DIRECTION dir;
    char achName[kMaxFilterName];
};

struct FILTER_INFO {
    char achName[kMaxFilterName];
    IFilterGraph* pGraph;  // AddRef'd for the caller, may be null
};

struct ALLOCATOR_PROPERTIES {
    LONG cBuffers;
    LONG cbBuffer;
    LONG cbAlign;
    LONG cbPrefix;
};

struct CAUUID {
    ULONG cElems;
    GUID* pElems;  // CoTaskMemAlloc'd
};

constexpr DWORD AM_FILTER_MISC_FLAGS_IS_RENDERER = 0x1;
constexpr DWORD AM_FILTER_MISC_FLAGS_IS_SOURCE = 0x2;

constexpr DWORD MERIT_DO_NOT_USE = 0x200000;
constexpr DWORD MERIT_NORMAL = 0x600000;

// Registration data for the filter mapper.
struct REGPINTYPES {
    const GUID* clsMajorType;
    const GUID* clsMinorType;
};

struct REGFILTERPINS {
    const char* strName;
    BOOL bRendered;
    BOOL bOutput;
    BOOL bZero;
    BOOL bMany;
    const CLSID* clsConnectsToFilter;
    const char* strConnectsToPin;
    UINT nMediaTypes;
    const REGPINTYPES* lpMediaType;
};

struct REGFILTER2 {
    DWORD dwVersion;  // 1: cPins / rgPins
    DWORD dwMerit;
    ULONG cPins;
    const REGFILTERPINS* rgPins;
};

// ---- interfaces ------------------------------------------------------------------------------------
struct IPersist : IUnknown {
    static constexpr IID iid = {0x0000010C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    virtual HRESULT GetClassID(CLSID* pClassID) = 0;

protected:
    ~IPersist() = default;
};

struct IReferenceClock : IUnknown {
    static constexpr IID iid = {0x56A86897, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT GetTime(REFERENCE_TIME* pTime) = 0;

protected:
    ~IReferenceClock() = default;
};

struct IMediaFilter : IPersist {
    static constexpr IID iid = {0x56A86899, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT Stop() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Run(REFERENCE_TIME tStart) = 0;
    virtual HRESULT GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* state) = 0;
    virtual HRESULT SetSyncSource(IReferenceClock* pClock) = 0;
    virtual HRESULT GetSyncSource(IReferenceClock** pClock) = 0;

protected:
    ~IMediaFilter() = default;
};

struct IPin;
struct IEnumPins;
struct IEnumMediaTypes;

struct IBaseFilter : IMediaFilter {
    static constexpr IID iid = {0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT EnumPins(IEnumPins** ppEnum) = 0;
    virtual HRESULT FindPin(const char* Id, IPin** ppPin) = 0;
    virtual HRESULT QueryFilterInfo(FILTER_INFO* pInfo) = 0;
    // The graph's pointer is not AddRef'd by the filter (the graph owns the filter).
    virtual HRESULT JoinFilterGraph(IFilterGraph* pGraph, const char* pName) = 0;
    virtual HRESULT QueryVendorInfo(char** pVendorInfo) = 0;

protected:
    ~IBaseFilter() = default;
};

struct IPin : IUnknown {
    static constexpr IID iid = {0x56A86891, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT Disconnect() = 0;
    virtual HRESULT ConnectedTo(IPin** pPin) = 0;
    virtual HRESULT ConnectionMediaType(AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT QueryPinInfo(PIN_INFO* pInfo) = 0;
    virtual HRESULT QueryDirection(PIN_DIRECTION* pPinDir) = 0;
    virtual HRESULT QueryId(char** Id) = 0;
    virtual HRESULT QueryAccept(const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT EnumMediaTypes(IEnumMediaTypes** ppEnum) = 0;
    virtual HRESULT QueryInternalConnections(IPin** apPin, ULONG* nPin) = 0;
    virtual HRESULT EndOfStream() = 0;
    virtual HRESULT BeginFlush() = 0;
    virtual HRESULT EndFlush() = 0;
    virtual HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) = 0;

protected:
    ~IPin() = default;
};

struct IEnumPins : IUnknown {
    static constexpr IID iid = {0x56A86892, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) = 0;
    virtual HRESULT Skip(ULONG cPins) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumPins** ppEnum) = 0;

protected:
    ~IEnumPins() = default;
};

struct IEnumMediaTypes : IUnknown {
    static constexpr IID iid = {0x89C31040, 0x846B, 0x11CE, {0x97, 0xD3, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
    // Each type handed out is CoTaskMemAlloc'd; free it with DeleteMediaType.
    virtual HRESULT Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) = 0;
    virtual HRESULT Skip(ULONG cMediaTypes) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumMediaTypes** ppEnum) = 0;

protected:
    ~IEnumMediaTypes() = default;
};

struct IEnumFilters : IUnknown {
    static constexpr IID iid = {0x56A86893, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT Next(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) = 0;
    virtual HRESULT Skip(ULONG cFilters) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFilters** ppEnum) = 0;

protected:
    ~IEnumFilters() = default;
};

struct IMediaSample : IUnknown {
    static constexpr IID iid = {0x56A8689A, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT GetPointer(BYTE** ppBuffer) = 0;
    virtual LONG GetSize() = 0;
    // S_OK both times, VFW_S_NO_STOP_TIME only the start (stop = start + 1), VFW_E_SAMPLE_TIME_NOT_SET none.
    virtual HRESULT GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
    virtual HRESULT SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
    virtual HRESULT IsSyncPoint() = 0;
    virtual HRESULT SetSyncPoint(BOOL bIsSyncPoint) = 0;
    virtual HRESULT IsPreroll() = 0;
    virtual HRESULT SetPreroll(BOOL bIsPreroll) = 0;
    virtual LONG GetActualDataLength() = 0;
    virtual HRESULT SetActualDataLength(LONG length) = 0;
    virtual HRESULT GetMediaType(AM_MEDIA_TYPE** ppMediaType) = 0;
    virtual HRESULT SetMediaType(AM_MEDIA_TYPE* pMediaType) = 0;
    virtual HRESULT IsDiscontinuity() = 0;
    virtual HRESULT SetDiscontinuity(BOOL bDiscontinuity) = 0;
    virtual HRESULT GetMediaTime(int64_t* pTimeStart, int64_t* pTimeEnd) = 0;
    virtual HRESULT SetMediaTime(int64_t* pTimeStart, int64_t* pTimeEnd) = 0;

protected:
    ~IMediaSample() = default;
};

struct IMemAllocator : IUnknown {
    static constexpr IID iid = {0x56A8689C, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) = 0;
    virtual HRESULT GetProperties(ALLOCATOR_PROPERTIES* pProps) = 0;
    virtual HRESULT Commit() = 0;
    virtual HRESULT Decommit() = 0;
    // Waits for a free sample; VFW_E_NOT_COMMITTED once decommitted (which also wakes a waiter).
    virtual HRESULT GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                              DWORD dwFlags) = 0;
    virtual HRESULT ReleaseBuffer(IMediaSample* pBuffer) = 0;

protected:
    ~IMemAllocator() = default;
};

struct IMemInputPin : IUnknown {
    static constexpr IID iid = {0x56A8689D, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT GetAllocator(IMemAllocator** ppAllocator) = 0;
    virtual HRESULT NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) = 0;
    virtual HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) = 0;
    virtual HRESULT Receive(IMediaSample* pSample) = 0;
    virtual HRESULT ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) = 0;
    virtual HRESULT ReceiveCanBlock() = 0;

protected:
    ~IMemInputPin() = default;
};

struct IFilterGraph : IUnknown {
    static constexpr IID iid = {0x56A8689F, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT AddFilter(IBaseFilter* pFilter, const char* pName) = 0;
    virtual HRESULT RemoveFilter(IBaseFilter* pFilter) = 0;
    virtual HRESULT EnumFilters(IEnumFilters** ppEnum) = 0;
    virtual HRESULT FindFilterByName(const char* pName, IBaseFilter** ppFilter) = 0;
    virtual HRESULT ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT Disconnect(IPin* ppin) = 0;
    virtual HRESULT SetDefaultSyncSource() = 0;

protected:
    ~IFilterGraph() = default;
};

struct IGraphBuilder : IFilterGraph {
    static constexpr IID iid = {0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    // Connects an output pin to an input pin over the media types the two pins offer.
    virtual HRESULT Connect(IPin* ppinOut, IPin* ppinIn) = 0;

protected:
    ~IGraphBuilder() = default;
};

using OAFilterState = LONG;

struct IMediaControl : IUnknown {
    static constexpr IID iid = {0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetState(LONG msTimeout, OAFilterState* pfs) = 0;
    virtual HRESULT StopWhenReady() = 0;

protected:
    ~IMediaControl() = default;
};

struct IMediaEvent : IUnknown {
    static constexpr IID iid = {0x56A868B6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    // E_ABORT when no event arrived within the time-out.
    virtual HRESULT GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) = 0;
    // Waits for EC_COMPLETE, EC_ERRORABORT or EC_USERABORT; E_ABORT with code 0 on time-out.
    virtual HRESULT WaitForCompletion(LONG msTimeout, LONG* pEvCode) = 0;
    virtual HRESULT FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) = 0;

protected:
    ~IMediaEvent() = default;
};

// How filters report events to the graph they joined.
struct IMediaEventSink : IUnknown {
    static constexpr IID iid = {0x56A868A2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
    virtual HRESULT Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) = 0;

protected:
    ~IMediaEventSink() = default;
};

struct ISpecifyPropertyPages : IUnknown {
    static constexpr IID iid = {0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
    virtual HRESULT GetPages(CAUUID* pPages) = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};

struct IAMFilterMiscFlags : IUnknown {
    static constexpr IID iid = {0x2DD74950, 0xA890, 0x11D1, {0xAB, 0xE8, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
    virtual ULONG GetMiscFlags() = 0;

protected:
    ~IAMFilterMiscFlags() = default;
};

// A property page: the host's frame hands it the objects to edit, shows it in a window of its own
// (an opaque native parent, a widget pointer on this platform) and asks it to apply.
struct IPropertyPage : IUnknown {
    static constexpr IID iid = {0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
    virtual HRESULT Activate(void* parentWindow) = 0;
    virtual HRESULT Deactivate() = 0;
    virtual HRESULT SetObjects(ULONG cObjects, IUnknown** ppUnk) = 0;
    virtual HRESULT IsPageDirty() = 0;
    virtual HRESULT Apply() = 0;

protected:
    ~IPropertyPage() = default;
};

struct IFilterMapper2 : IUnknown {
    static constexpr IID iid = {0xB79BB0B0, 0x33C1, 0x11D1, {0xAB, 0xE1, 0x00, 0xA0, 0xC9, 0x05, 0xF3, 0x75}};
    virtual HRESULT CreateCategory(REFCLSID clsidCategory, DWORD dwCategoryMerit, const char* Description) = 0;
    virtual HRESULT UnregisterFilter(const CLSID* pclsidCategory, const char* szInstance, REFCLSID Filter) = 0;
    // ppMoniker must be null (no monikers here); a null category means CLSID_LegacyAmFilterCategory.
    virtual HRESULT RegisterFilter(REFCLSID clsidFilter, const char* Name, void** ppMoniker,
                                   const CLSID* pclsidCategory, const char* szInstance, const REGFILTER2* prf2) = 0;

protected:
    ~IFilterMapper2() = default;
};

inline constexpr const IID& IID_IBaseFilter = IBaseFilter::iid;
inline constexpr const IID& IID_IPin = IPin::iid;
inline constexpr const IID& IID_IMemInputPin = IMemInputPin::iid;
inline constexpr const IID& IID_IMediaSample = IMediaSample::iid;
inline constexpr const IID& IID_IMemAllocator = IMemAllocator::iid;
inline constexpr const IID& IID_IGraphBuilder = IGraphBuilder::iid;
inline constexpr const IID& IID_IFilterGraph = IFilterGraph::iid;
inline constexpr const IID& IID_IMediaControl = IMediaControl::iid;
inline constexpr const IID& IID_IMediaEvent = IMediaEvent::iid;
inline constexpr const IID& IID_IMediaEventSink = IMediaEventSink::iid;
inline constexpr const IID& IID_IReferenceClock = IReferenceClock::iid;
inline constexpr const IID& IID_ISpecifyPropertyPages = ISpecifyPropertyPages::iid;
inline constexpr const IID& IID_IAMFilterMiscFlags = IAMFilterMiscFlags::iid;
inline constexpr const IID& IID_IPropertyPage = IPropertyPage::iid;
inline constexpr const IID& IID_IFilterMapper2 = IFilterMapper2::iid;
