// Framewick itself as a second process, run from a program folder of the test's own: the program keeps
// its data (ini, list files, Log/, HTML/) and makes its library folder beside itself, not in the
// build's folder of programs. The folder holds the program, its COM servers and the project's shared
// libraries they load (found beside the program, as an installed copy finds them), so a program run
// under another user id loads nothing from the build tree, which that user may not enter.
//
// A test program that links this file runs in a network of its own (own_network.h): every port the
// program takes there, kFirstSinkPort included, is free whatever else runs on the machine.
//
// FramewickFolder lays out the program alone, for tests that write their own list files;
// FramewickChild adds one web server and one capture service publishing into a share of it. The child
// starts with default signal dispositions, offscreen windows, and leak detection off (libVLC's
// plugins unload at the end, and what the libraries they loaded keep for the life of the process would
// show as leaks of unknown origin; the closing's own leaks are looked for by the main window's tests,
// which run it in their own process). Use-after-free and overflows still end it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/PrivateXServer.h"
#include "tests/support/test_env.h"

namespace fw_test {

inline constexpr int kFirstSinkPort = 47048;  // the program's first internal port, which a capture takes

// The environment a started program runs in (above); the constructors below set it.
void SetFramewickChildEnvironment();

class FramewickFolder {
public:
    // Links (or copies) the program built at program, its COM servers and the libraries they need into folder.
    FramewickFolder(const std::filesystem::path& program, const std::filesystem::path& folder);
    bool ok() const { return ok_; }
    const std::filesystem::path& path() const { return folder_; }
    std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }

    // launcher: programs in front of it (prlimit, setpriv, ...); environment: NAME=VALUE settings for
    // the program only. Its temporary folder (TMPDIR) is the program folder.
    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& launcher = {},
                                        const std::vector<std::string>& environment = {}) const;
    // Everything the program wrote into its daily log files so far.
    std::string LogText() const;

private:
    std::filesystem::path folder_;
    bool ok_ = false;
};

struct TScreenArea {
    int Left, Top, Width, Height;
};

struct TWindowNames {
    std::string Class, Caption;
};

class FramewickChild {
public:
    // What the capture service publishes into the share "live".
    enum class TCapture {
        ScreenArea,  // an area of an X server of its own: HLS through libVLC and snapshots (takes kFirstSinkPort)
        DroppedFiles,  // the newest image dropped into DropFolder(): neither X nor libVLC nor an internal port
        Window,  // the window of an X server of its own named by class and caption, as ScreenArea publishes its area
    };
    static constexpr TScreenArea kDefaultArea{0, 0, 320, 240};
    static constexpr int kScreenWidth = 1920, kScreenHeight = 1080;  // the screen of a screen-area or window capture

    // Lays out the program folder below root (area: what a screen-area capture grabs; window: the
    // names a window capture looks for); ok() tells whether that worked.
    FramewickChild(const std::filesystem::path& root, TCapture capture, const TScreenArea& area = kDefaultArea,
                   const TWindowNames& window = {});

    bool ok() const { return ok_; }
    const std::filesystem::path& ProgramFolder() const { return program_.path(); }
    const std::filesystem::path& WebRoot() const { return www_; }
    std::filesystem::path Share() const { return www_ / "live"; }
    std::filesystem::path DropFolder() const { return root_ / "drop"; }
    int Port() const { return port_; }
    // The X server a screen-area or window capture grabs (empty for dropped files), for the test to
    // paint on and open windows on.
    std::string Display() const { return screen_ ? screen_->name() : std::string(); }

    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& launcher = {}) const;
    std::string LogText() const { return program_.LogText(); }

private:
    std::filesystem::path root_;
    std::unique_ptr<PrivateXServer> screen_;
    FramewickFolder program_;
    std::filesystem::path www_;
    int port_ = 0;
    bool ok_ = false;
};

}  // namespace fw_test
