#include "platform/filters/AudioSource.h"

#include "platform/filters/ToneAudioSource.h"
#ifdef FW_HAVE_PULSEAUDIO
#include "platform/filters/PulseAudioSource.h"
#endif

namespace platform {

std::unique_ptr<IAudioSource> OpenAudioSource(std::string* note) {
    std::string why = "built without PulseAudio";
#ifdef FW_HAVE_PULSEAUDIO
    if (auto source = TPulseAudioSource::Open(TPulseAudioSource::kDefaultSource, &why)) {
        if (note) *note = "recording the sound server's default source";
        return source;
    }
    std::string monitorWhy;
    if (auto monitor = TPulseAudioSource::Open(TPulseAudioSource::kDefaultMonitor, &monitorWhy)) {
        if (note) *note = "recording the sound server's default monitor (no default source: " + why + ")";
        return monitor;
    }
#endif
    if (note) *note = "no sound server (" + why + "), sending a tone";
    return std::make_unique<TToneAudioSource>();
}

}  // namespace platform
