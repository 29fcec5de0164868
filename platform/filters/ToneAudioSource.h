// The sound the audio-grab filter sends when no sound server answers: a sine tone of kToneHz at a
// quarter of full scale, the same on both channels, continuous from one buffer to the next.
#pragma once

#include "platform/filters/AudioSource.h"

namespace platform {

class TToneAudioSource final : public IAudioSource {
public:
    static constexpr double kToneHz = 440.0;
    static constexpr double kToneAmplitude = 0.25;  // of full scale

    bool Read(int16_t* samples, size_t frames) override;
    bool Live() const override { return false; }

    // The sample at frame number n (counted from 0).
    static int16_t SampleAt(int64_t n);

private:
    int64_t nextFrame_ = 0;
};

}  // namespace platform
