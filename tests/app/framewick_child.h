// Framewick as a second process of a test: the program and its COM servers linked (or copied) into a
// folder of the test's own, where the program keeps its data and makes its library folder; one web
// server and one auto-started capture of the graph method on a screen area, publishing HLS and
// snapshots into the share "live" of the web root. Its windows are offscreen; the capture grabs the X
// display of the test run.
#pragma once

#include <filesystem>

namespace fw_test {

struct TScreenArea {
    int Left, Top, Width, Height;
};

struct TFramewickFolder {
    std::filesystem::path Program;  // the program to start
    std::filesystem::path Data;     // its folder
    std::filesystem::path Share;    // the share's folder below the web root
    int HttpPort = 0;
};

// Makes the folder below root, the web root beside it; failures are reported to the running test.
void PrepareFramewickFolder(const std::filesystem::path& root, const TScreenArea& area, TFramewickFolder& made);

// The environment of the program's process: offscreen windows; use-after-free and overflows still end
// it with an error, but its leaks are not looked for (libVLC unloads its plugins at the end, and what
// the libraries they loaded keep for the life of the process then shows as leaks of unknown origin;
// the closing's own leaks are looked for by the main window's tests, which run it in their process).
void SetFramewickChildEnvironment();

}  // namespace fw_test
