// The audio-grab filter as its callers see it. The start-up probe only creates it by its class
// identifier; the web-socket audio graph drives it through its interface. The filter sends PCM,
// 48 kHz, 16-bit, stereo, in time-stamped buffers of kAudioBufferMs, while it is active and running.
#pragma once

#include <cstdint>

#include "platform/com/com.h"

// {76539265-DAA0-4210-A68E-3DD9F5652B09}
constexpr CLSID CLSID_AudioGrabFilter = {
    0x76539265, 0xDAA0, 0x4210, {0xA6, 0x8E, 0x3D, 0xD9, 0xF5, 0x65, 0x2B, 0x09}};

constexpr uint32_t kAudioSampleRateHz = 48000;
constexpr uint16_t kAudioChannels = 2;
constexpr uint16_t kAudioBitsPerSample = 16;
constexpr uint16_t kAudioBytesPerFrame = kAudioChannels * kAudioBitsPerSample / 8;
constexpr uint32_t kAudioBufferMs = 20;
constexpr uint32_t kAudioFramesPerBuffer = kAudioSampleRateHz / 1000 * kAudioBufferMs;  // 960
constexpr uint32_t kAudioBufferBytes = kAudioFramesPerBuffer * kAudioBytesPerFrame;    // 3840

struct IAudioGrab : IUnknown {
    // {F7D97B80-FC9A-4AE9-AC16-E217C719DF18}
    static constexpr IID iid = {0xF7D97B80, 0xFC9A, 0x4AE9, {0xAC, 0x16, 0xE2, 0x17, 0xC7, 0x19, 0xDF, 0x18}};

    // [1] Switches delivery on or off; an inactive filter sends nothing, running or not. S_OK.
    virtual HRESULT SetActive(BOOL active) = 0;
    // [2] The state set by SetActive (FALSE at creation); E_POINTER for nullptr.
    virtual HRESULT GetActive(BOOL* active) = 0;
    // [3] Buffers delivered on the output pin since the filter last left Stopped; E_POINTER for nullptr.
    virtual HRESULT GetBufferCount(int64_t* buffers) = 0;
    // [4] TRUE while the sound comes from the sound server, FALSE while it is the generated tone (or the
    // filter is not streaming); E_POINTER for nullptr.
    virtual HRESULT IsSoundServerCapture(BOOL* fromServer) = 0;

protected:
    ~IAudioGrab() = default;
};
