// Framewick itself as a second process, run from a program folder of the test's own: the program keeps
// its data (ini, list files, Log/, HTML/) and makes its library folder beside itself, not in the
// build's folder of programs. The process inherits the test's environment.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_env.h"

namespace fw_test {

class FramewickFolder {
public:
    // Links (or copies) the program built at program and its COM servers into folder.
    FramewickFolder(const std::filesystem::path& program, const std::filesystem::path& folder);
    bool ok() const { return ok_; }
    const std::filesystem::path& path() const { return folder_; }
    std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }

    // environment: further NAME=VALUE settings for the program only.
    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& environment = {}) const;
    // Everything the program wrote into its daily log files so far.
    std::string LogText() const;

private:
    std::filesystem::path folder_;
    bool ok_ = false;
};

// The environment a started program runs in: its windows offscreen, and no leak report at its end
// (libVLC unloads its plugins at the end, and what the libraries they loaded keep for the life of the
// process then shows as leaks of unknown origin; the closing's own leaks are looked for by the main
// window's tests, which run it in their own process). Use-after-free and overflows still end it.
void SetFramewickChildEnvironment();

}  // namespace fw_test
