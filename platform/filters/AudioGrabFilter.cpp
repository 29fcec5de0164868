#include "platform/filters/AudioGrabFilter.h"

#include <exception>

#include "platform/dshow/dshow_log.h"
#include "platform/filters/AudioGrabStream.h"

namespace platform {

dshow::TComModule& TAudioGrabFilter::Module() {
    static dshow::TComModule module;
    return module;
}

dshow::TUnknown* TAudioGrabFilter::CreateObject(HRESULT* hr) {
    try {
        if (hr) *hr = S_OK;
        return new TAudioGrabFilter(nullptr);
    } catch (const std::exception&) {
        if (hr) *hr = E_OUTOFMEMORY;
        return nullptr;
    }
}

HRESULT TAudioGrabFilter::Create(IUnknown* outer, REFIID riid, void** ppv) {
    if (outer) {
        if (ppv) *ppv = nullptr;
        return CLASS_E_NOAGGREGATION;
    }
    return CreateWithSource(nullptr, riid, ppv);
}

HRESULT TAudioGrabFilter::CreateWithSource(TSourceFactory sourceFactory, REFIID riid, void** ppv) {
    try {
        return dshow::QueryNewObject(new TAudioGrabFilter(sourceFactory), riid, ppv);
    } catch (const std::exception&) {
        if (ppv) *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
}

TAudioGrabFilter::TAudioGrabFilter(TSourceFactory sourceFactory)
    : dshow::TSource(kFilterName, CLSID_AudioGrabFilter), sourceFactory_(sourceFactory) {
    AddStream(std::make_unique<TAudioGrabStream>(this));
}

TAudioGrabFilter::~TAudioGrabFilter() {
    // The streaming thread reads the filter's flags: it goes first.
    if (dshow::TBasePin* pin = GetPin(0)) static_cast<TAudioGrabStream*>(pin)->StopThread();
}

HRESULT TAudioGrabFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IAudioGrab::iid) return dshow::GetInterface(static_cast<IAudioGrab*>(this), ppv);
    return dshow::TSource::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT TAudioGrabFilter::SetActive(BOOL active) {
    active_ = active != FALSE;
    return S_OK;
}

HRESULT TAudioGrabFilter::GetActive(BOOL* active) {
    if (!active) return E_POINTER;
    *active = active_.load() ? TRUE : FALSE;
    return S_OK;
}

HRESULT TAudioGrabFilter::GetBufferCount(int64_t* buffers) {
    if (!buffers) return E_POINTER;
    *buffers = buffers_.load();
    return S_OK;
}

HRESULT TAudioGrabFilter::IsSoundServerCapture(BOOL* fromServer) {
    if (!fromServer) return E_POINTER;
    *fromServer = fromServer_.load() ? TRUE : FALSE;
    return S_OK;
}

std::unique_ptr<IAudioSource> TAudioGrabFilter::OpenSource() {
    std::string note;
    std::unique_ptr<IAudioSource> source = sourceFactory_ ? sourceFactory_(&note) : OpenAudioSource(&note);
    if (!note.empty()) dshow::LogInfo("[AudioGrab] " + note);
    return source;
}

}  // namespace platform
