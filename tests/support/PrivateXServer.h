// An Xvfb of the test's own, so that what the test paints on its screen is not disturbed by other test
// programs sharing the display of the test run.
#pragma once

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/test_env.h"

namespace fw_test {

class PrivateXServer {
public:
    static constexpr auto kStartTimeout = std::chrono::seconds(15);

    PrivateXServer(int width, int height) {
        static int started = 0;  // servers of this program get numbers of their own
        for (int attempt = 0; attempt < 20 && !server_; ++attempt) {
            const int number = 200 + (::getpid() * 7 + (started++) * 13) % 3000;
            const std::string digits = std::to_string(number);
            if (std::filesystem::exists(std::filesystem::path("/tmp/.X11-unix") / ("X" + digits)) ||
                std::filesystem::exists(std::filesystem::path("/tmp") / (".X" + digits + "-lock")))
                continue;
            name_ = std::string(":").append(digits);
            auto server = std::make_unique<ChildProcess>(std::vector<std::string>{
                "Xvfb", name_, "-screen", "0", std::to_string(width) + "x" + std::to_string(height) + "x24",
                "-nolisten", "tcp", "-ac", "-noreset"});
            if (WaitUntil([&] { return RunProgram({"xdpyinfo", "-display", name_}) == 0 || !server->running(); },
                          kStartTimeout) &&
                server->running())
                server_ = std::move(server);
        }
    }
    bool ok() const { return server_ != nullptr; }
    const std::string& name() const { return name_; }
    void Kill() {
        if (server_) server_->Kill();
    }
    // Paints the root window in one colour ("red", "#00ff00").
    bool SetRootColour(const std::string& colour) const {
        return RunProgram({"xsetroot", "-display", name_, "-solid", colour}) == 0;
    }

private:
    std::string name_;
    std::unique_ptr<ChildProcess> server_;
};

}  // namespace fw_test
