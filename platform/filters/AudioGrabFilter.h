// The audio-grab filter: a source with one PCM output (48 kHz, 16-bit, stereo) that delivers one
// time-stamped buffer of kAudioBufferMs after the other while it is active (IAudioGrab::SetActive)
// and running. The sound comes from the sound server or, without one, from a generated tone.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/dshow/class_factory.h"
#include "platform/dshow/source_stream.h"
#include "platform/filters/AudioGrabData.h"
#include "platform/filters/AudioSource.h"

namespace platform {

class TAudioGrabFilter final : public dshow::TSource, public IAudioGrab {
public:
    static constexpr const char* kFilterName = "AudioGrab";

    // The COM creation function (sound server or tone); tests pass a source factory of their own.
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv);
    using TSourceFactory = std::unique_ptr<IAudioSource> (*)(std::string* note);
    static HRESULT CreateWithSource(TSourceFactory sourceFactory, REFIID riid, void** ppv);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IAudioGrab
    HRESULT SetActive(BOOL active) override;
    HRESULT GetActive(BOOL* active) override;
    HRESULT GetBufferCount(int64_t* buffers) override;
    HRESULT IsSoundServerCapture(BOOL* fromServer) override;

    // For the output stream.
    bool Delivering() const { return active_.load() && State() == State_Running; }
    std::unique_ptr<IAudioSource> OpenSource();
    void SetSoundServerCapture(bool fromServer) { fromServer_ = fromServer; }
    void CountBuffer() { ++buffers_; }
    void ResetBufferCount() { buffers_ = 0; }

    // The in-process server's module (live objects and locks) and its factory's creation function.
    static dshow::TComModule& Module();
    static dshow::TUnknown* CreateObject(HRESULT* hr);

private:
    explicit TAudioGrabFilter(TSourceFactory sourceFactory);
    ~TAudioGrabFilter() override;

    dshow::TComModule::TObjectToken token_{Module()};
    TSourceFactory sourceFactory_;
    std::atomic<bool> active_{false};
    std::atomic<bool> fromServer_{false};
    std::atomic<int64_t> buffers_{0};
};

}  // namespace platform
