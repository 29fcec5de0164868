#include "platform/filters/PulseAudioSource.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <cstring>

#include "platform/filters/AudioGrabData.h"

namespace platform {

void TPulseAudioSource::TCloser::operator()(pa_simple* stream) const { pa_simple_free(stream); }

std::unique_ptr<TPulseAudioSource> TPulseAudioSource::Open(const char* device, std::string* why) {
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, kAudioSampleRateHz, static_cast<uint8_t>(kAudioChannels)};
    // Fragments of one buffer keep the delay down to about one buffer.
    pa_buffer_attr attr;
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = static_cast<uint32_t>(-1);
    attr.prebuf = static_cast<uint32_t>(-1);
    attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = kAudioBufferBytes;
    int error = 0;
    pa_simple* stream =
        pa_simple_new(nullptr, "Framewick", PA_STREAM_RECORD, device, "audio grab", &sampleFormat, nullptr, &attr, &error);
    if (!stream) {
        if (why) *why = pa_strerror(error);
        return nullptr;
    }
    return std::unique_ptr<TPulseAudioSource>(new TPulseAudioSource(stream));
}

bool TPulseAudioSource::Read(int16_t* samples, size_t frames) {
    int error = 0;
    if (pa_simple_read(stream_.get(), samples, frames * kAudioBytesPerFrame, &error) == 0) return true;
    std::memset(samples, 0, frames * kAudioBytesPerFrame);
    return false;
}

}  // namespace platform
