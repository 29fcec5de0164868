// A stand-in for the audio-grab filter, offered under CLSID_AudioGrabFilter as a built-in class: a
// source without pins whose SetActive answers what the test asks for.
#pragma once

#include "platform/dshow/source_stream.h"
#include "platform/filters/AudioGrabData.h"

namespace fw_test {

class TFakeAudioGrab final : public dshow::TSource, public IAudioGrab {
public:
    static inline HRESULT SetActiveResult = S_OK;

    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv) {
        if (outer) return CLASS_E_NOAGGREGATION;
        return dshow::QueryNewObject(new TFakeAudioGrab(), riid, ppv);
    }

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IAudioGrab::iid) return dshow::GetInterface(static_cast<IAudioGrab*>(this), ppv);
        return TSource::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT SetActive(BOOL) override { return SetActiveResult; }
    HRESULT GetActive(BOOL*) override { return E_NOTIMPL; }
    HRESULT GetBufferCount(int64_t*) override { return E_NOTIMPL; }
    HRESULT IsSoundServerCapture(BOOL*) override { return E_NOTIMPL; }

private:
    TFakeAudioGrab() : TSource("Fake AudioGrab", CLSID_AudioGrabFilter) {}
};

}  // namespace fw_test
