// nginx serving one folder on a loopback port, in the foreground as a child of the benchmark
// (Debian nginx-light, benchmark only). Logs and temporary files stay in the work folder.
#pragma once

#include <sys/types.h>

#include <filesystem>

namespace fw_bench {

class TNginxChild {
public:
    static constexpr const char* kBinary = "/usr/sbin/nginx";

    TNginxChild(const std::filesystem::path& work, const std::filesystem::path& root, int port);
    ~TNginxChild();
    TNginxChild(const TNginxChild&) = delete;
    TNginxChild& operator=(const TNginxChild&) = delete;

    static bool Installed();
    // True once the port answers (within a few seconds).
    bool WaitReady() const;
    // CPU seconds of the master and its workers together.
    double CpuSeconds() const;

private:
    int port_;
    pid_t pid_ = -1;
};

}  // namespace fw_bench
