#include "platform/filters/ToneAudioSource.h"

#include <cmath>
#include <numbers>

#include "platform/filters/AudioGrabData.h"

namespace platform {

int16_t TToneAudioSource::SampleAt(int64_t n) {
    // The phase is taken modulo one second of frames, so it stays exact however long the tone runs
    // (440 whole periods fit into one second).
    const double t = static_cast<double>(n % kAudioSampleRateHz) / kAudioSampleRateHz;
    return static_cast<int16_t>(std::lround(std::sin(2.0 * std::numbers::pi * kToneHz * t) * kToneAmplitude * 32767.0));
}

bool TToneAudioSource::Read(int16_t* samples, size_t frames) {
    for (size_t i = 0; i < frames; ++i) {
        const int16_t s = SampleAt(nextFrame_++);
        for (int c = 0; c < kAudioChannels; ++c) *samples++ = s;
    }
    return true;
}

}  // namespace platform
