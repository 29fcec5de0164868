// Sound from the PulseAudio server through its simple API: one recording stream in the filter's format,
// read in blocks of one buffer.
#pragma once

#include <memory>
#include <string>

#include "platform/filters/AudioSource.h"

struct pa_simple;

namespace platform {

class TPulseAudioSource final : public IAudioSource {
public:
    // The server's special names for its default source and the monitor of its default sink.
    static constexpr const char* kDefaultSource = nullptr;
    static constexpr const char* kDefaultMonitor = "@DEFAULT_MONITOR@";

    // Connects to the server named by the environment (or the user's default one) and records from
    // device; null with *why set when no server answers or the device cannot record.
    static std::unique_ptr<TPulseAudioSource> Open(const char* device, std::string* why);

    bool Read(int16_t* samples, size_t frames) override;
    bool Live() const override { return true; }

private:
    struct TCloser {
        void operator()(pa_simple* stream) const;
    };
    explicit TPulseAudioSource(pa_simple* stream) : stream_(stream) {}
    std::unique_ptr<pa_simple, TCloser> stream_;
};

}  // namespace platform
