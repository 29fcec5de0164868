#include "tests/engine/ftp/ftp_test_server.h"

#include <chrono>

namespace fw_test {

namespace {
constexpr int kPassivePorts = 8;  // a port taken by someone else makes the server pick another
constexpr auto kStartTimeout = std::chrono::seconds(15);
}  // namespace

FtpTestServer::FtpTestServer(FtpTestServerOptions options)
    : options_(options), port_(FreeTcpPort()), passiveFirst_(FreeTcpPort()) {}

bool FtpTestServer::Start() {
    std::vector<std::string> argv = {"/usr/bin/python3", FW_FTP_TEST_SERVER_SCRIPT,
                                     "--port", std::to_string(port_),
                                     "--dir", root_.path().string(),
                                     "--user", kUser,
                                     "--password", kPassword,
                                     "--passive", std::to_string(passiveFirst_) + "-" +
                                                      std::to_string(passiveFirst_ + kPassivePorts - 1)};
    if (options_.readOnly) argv.push_back("--read-only");
    if (options_.writeLimitBytesPerS > 0) {
        argv.push_back("--write-limit");
        argv.push_back(std::to_string(options_.writeLimitBytesPerS));
    }
    process_ = std::make_unique<ChildProcess>(argv);
    return WaitForTcpPort(port_, kStartTimeout);
}

void FtpTestServer::Stop() {
    if (process_) process_->Kill();
    process_.reset();
}

}  // namespace fw_test
