// An Xvfb of the test's own, so that what the test paints on its screen is not disturbed by other test
// programs sharing the display of the test run. The server takes the first display number free on
// this machine itself (-displayfd) and tells it back, so no two servers ever meet on one number.
#pragma once

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
        static int started = 0;  // each server of this program tells its number in a file of its own
        const std::filesystem::path numberFile = ScratchRoot() / ("x-server-" + std::to_string(++started));
        auto server = std::make_unique<ChildProcess>(std::vector<std::string>{
            "sh", "-c", "exec Xvfb -displayfd 3 -screen 0 \"$1\" -nolisten tcp -ac -noreset 3>\"$0\"",
            numberFile.string(), std::to_string(width) + "x" + std::to_string(height) + "x24"});
        std::string told;
        const auto numberTold = [&] { return (told = ReadFile(numberFile)).find('\n') != std::string::npos; };
        if (!WaitUntil([&] { return numberTold() || !server->running(); }, kStartTimeout) || !numberTold() ||
            !server->running())
            return;
        name_ = ":" + told.substr(0, told.find('\n'));
        server_ = std::move(server);
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
