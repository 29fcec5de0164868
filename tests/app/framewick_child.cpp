#include "tests/app/framewick_child.h"

#include <stdlib.h>

namespace fw_test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFiles[] = {"Framewick", "libOrbelle32.so", "libFwScreenCapture.so", "libFwAudioGrab.so"};

// A hard link where the file system allows one, else a copy.
bool LinkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error) fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace

FramewickFolder::FramewickFolder(const fs::path& program, const fs::path& folder) : folder_(folder) {
    std::error_code error;
    fs::create_directories(folder_, error);
    ok_ = !error;
    for (const char* file : kProgramFiles) ok_ = ok_ && LinkOrCopy(program.parent_path() / file, folder_ / file);
}

std::unique_ptr<ChildProcess> FramewickFolder::Start(const std::vector<std::string>& environment) const {
    // env(1) runs the program in its own place (exec), so the child's process is the program's.
    std::vector<std::string> argv;
    if (!environment.empty()) {
        argv.push_back("env");
        argv.insert(argv.end(), environment.begin(), environment.end());
    }
    argv.push_back((folder_ / "Framewick").string());
    return std::make_unique<ChildProcess>(argv);
}

std::string FramewickFolder::LogText() const {
    std::string text;
    std::error_code error;
    for (fs::directory_iterator it(folder_ / "Log", error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".log") text += ReadFile(it->path());
    return text;
}

void SetFramewickChildEnvironment() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string asan = ::getenv("ASAN_OPTIONS") != nullptr ? ::getenv("ASAN_OPTIONS") : "";
    if (asan.find("detect_leaks=0") == std::string::npos)
        ::setenv("ASAN_OPTIONS", (asan + ":detect_leaks=0").c_str(), 1);
}

}  // namespace fw_test
