// A real FTP server on loopback for one test: pyftpdlib on free ports serving a fresh folder.
// Stop and Start again keep the ports, so a test can take the server away and bring it back.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/test_env.h"

namespace fw_test {

struct FtpTestServerOptions {
    bool readOnly = false;
    int writeLimitBytesPerS = 0;  // 0: as fast as it goes
};

class FtpTestServer {
public:
    static constexpr const char* kUser = "mirror";
    static constexpr const char* kPassword = "s3cret";

    explicit FtpTestServer(FtpTestServerOptions options = {});
    bool Start();  // false when the server did not come up in time
    void Stop();
    bool running() const { return process_ && process_->running(); }

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    int port() const { return port_; }
    int pid() const { return process_ ? process_->pid() : -1; }
    const std::filesystem::path& root() const { return root_.path(); }

private:
    FtpTestServerOptions options_;
    TempDir root_;
    int port_;
    int passiveFirst_;
    std::unique_ptr<ChildProcess> process_;
};

}  // namespace fw_test
