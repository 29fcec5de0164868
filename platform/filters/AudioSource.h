// Where the audio-grab filter takes its sound from: the sound server (PulseAudio) when one answers,
// else a generated tone, so audio capture works on a machine without sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class IAudioSource {
public:
    virtual ~IAudioSource() = default;
    // Fills frames interleaved stereo frames of 16-bit samples at kAudioSampleRateHz. A live source
    // blocks until the sound is there; a generated one answers at once and the caller paces it. False
    // when the source failed; the buffer then holds silence.
    virtual bool Read(int16_t* samples, size_t frames) = 0;
    // True for a source paced by the sound server.
    virtual bool Live() const = 0;
};

// The sound server's default source, else its default monitor, else the tone; *note tells which and why.
std::unique_ptr<IAudioSource> OpenAudioSource(std::string* note);

}  // namespace platform
