// The generated tone: continuous across buffers, the same on both channels, at its pitch and level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/filters/AudioGrabData.h"
#include "platform/filters/ToneAudioSource.h"

namespace {

using platform::TToneAudioSource;

TEST(ToneAudioSourceTest, BuffersContinueEachOtherOnBothChannels) {
    TToneAudioSource tone;
    EXPECT_FALSE(tone.Live());
    std::vector<int16_t> samples(kAudioFramesPerBuffer * kAudioChannels * 3);
    for (int b = 0; b < 3; ++b)
        ASSERT_TRUE(tone.Read(samples.data() + b * kAudioFramesPerBuffer * kAudioChannels, kAudioFramesPerBuffer));
    for (size_t frame = 0; frame < samples.size() / kAudioChannels; ++frame) {
        ASSERT_EQ(samples[frame * 2], TToneAudioSource::SampleAt(static_cast<int64_t>(frame))) << frame;
        ASSERT_EQ(samples[frame * 2 + 1], samples[frame * 2]) << frame;
    }
}

TEST(ToneAudioSourceTest, OneSecondHoldsThePitchAtAQuarterOfFullScale) {
    int crossings = 0;
    int peak = 0;
    for (int64_t n = 1; n < kAudioSampleRateHz; ++n) {
        const int16_t a = TToneAudioSource::SampleAt(n - 1), b = TToneAudioSource::SampleAt(n);
        if ((a < 0) != (b < 0)) ++crossings;
        peak = std::max(peak, std::abs(static_cast<int>(b)));
    }
    EXPECT_NEAR(crossings, 2 * TToneAudioSource::kToneHz, 2);
    EXPECT_NEAR(peak, 32767 * TToneAudioSource::kToneAmplitude, 2);
    // Hours into the stream the tone is as exact as at its start.
    EXPECT_EQ(TToneAudioSource::SampleAt(3600LL * kAudioSampleRateHz + 17), TToneAudioSource::SampleAt(17));
}

}  // namespace
