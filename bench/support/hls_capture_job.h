// A real "DirectX" capture job for benchmarks: the screen-capture stand-in, the colour converter,
// Orbelle32 and libVLC's H.264 + HLS, capturing the screen area 0,0 Width x Height of $DISPLAY into
// the share folder web/pc1 below the work folder. The registry and data folders must already point
// into the work folder; a QCoreApplication must exist.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace engine {
class TScreenCapture;
}

namespace fw_bench {

struct THlsJobSettings {
    int Width = 1280;
    int Height = 720;
    int Fps = 25;
    int BitrateKbit = 1000;
    int SegLenS = 2;
    int NumSeg = 5;
};

class THlsCaptureJob {
public:
    // Registers the filters built beside the program, copies the installed libVLC into the work folder
    // and starts the job; Error() tells what failed.
    THlsCaptureJob(const std::filesystem::path& work, const THlsJobSettings& settings);
    ~THlsCaptureJob();
    THlsCaptureJob(const THlsCaptureJob&) = delete;
    THlsCaptureJob& operator=(const THlsCaptureJob&) = delete;

    bool Running() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    std::filesystem::path WebRoot() const { return work_ / "web"; }
    std::filesystem::path ShareFolder() const { return WebRoot() / "pc1"; }
    std::filesystem::path Playlist() const { return ShareFolder() / "stream_1.m3u8"; }

private:
    std::filesystem::path work_;
    std::shared_ptr<engine::TScreenCapture> job_;
    std::string error_;
};

}  // namespace fw_bench
