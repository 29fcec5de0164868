// Framewick itself as a second process: the program and its COM servers in a folder of the test's
// own (the program keeps its data and makes its library folder beside itself), one web server, and
// one capture service publishing into a share of it. The child starts with default signal
// dispositions, offscreen windows, and leak detection off (libVLC's plugins unload at the end, and what
// the libraries they loaded keep for the life of the process would show as leaks of unknown origin).
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_env.h"

namespace fw_test {

inline constexpr int kFirstSinkPort = 47048;  // the program's first internal port, which a capture takes
inline constexpr auto kSinkPortFreeWithin = std::chrono::seconds(60);

struct TScreenArea {
    int Left, Top, Width, Height;
};

class FramewickChild {
public:
    // What the capture service publishes into the share "live".
    enum class TCapture {
        ScreenArea,  // an area of $DISPLAY: HLS through libVLC and snapshots (takes kFirstSinkPort)
        DroppedFiles,  // the newest image dropped into DropFolder(): neither X nor libVLC nor an internal port
    };
    static constexpr TScreenArea kDefaultArea{0, 0, 320, 240};

    // Lays out the program folder below root (area: what a screen-area capture grabs); ok() tells
    // whether that worked.
    FramewickChild(const std::filesystem::path& root, TCapture capture, const TScreenArea& area = kDefaultArea);

    bool ok() const { return ok_; }
    const std::filesystem::path& ProgramFolder() const { return program_; }
    const std::filesystem::path& WebRoot() const { return www_; }
    std::filesystem::path Share() const { return www_ / "live"; }
    std::filesystem::path DropFolder() const { return root_ / "drop"; }
    int Port() const { return port_; }

    // Starts the program, with launcher (prlimit, setpriv, ...) in front of it when given.
    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& launcher = {}) const;

    // Everything the program logged so far (its daily log files).
    std::string LogText() const;

private:
    std::filesystem::path root_, program_, www_;
    int port_ = 0;
    bool ok_ = false;
};

// The tasks (threads) and open descriptors of a process.
size_t TaskCount(int pid);
size_t DescriptorCount(int pid);

}  // namespace fw_test
