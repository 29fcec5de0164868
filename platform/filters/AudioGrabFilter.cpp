#include "platform/filters/AudioGrabFilter.h"

#include "platform/dshow/dshow_log.h"
#include "platform/filters/AudioGrabStream.h"

namespace platform {

dshow::TComModule& TAudioGrabFilter::Module() {
    static dshow::TComModule module;
    return module;
}

dshow::TUnknown* TAudioGrabFilter::CreateObject(HRESULT* hr) {
    return dshow::FactoryMadeObject(hr, [] { return new TAudioGrabFilter(nullptr); });
}

HRESULT TAudioGrabFilter::Create(IUnknown* outer, REFIID riid, void** ppv) {
    return dshow::CreateMadeObject(outer, riid, ppv, [] { return new TAudioGrabFilter(nullptr); });
}

HRESULT TAudioGrabFilter::CreateWithSource(TSourceFactory sourceFactory, REFIID riid, void** ppv) {
    return dshow::QueryMadeObject(riid, ppv, [sourceFactory] { return new TAudioGrabFilter(sourceFactory); });
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
