// The end of the session told by a signal, to Framewick itself running as a second process with a
// capture of the test run's X display: the program runs its closing (captures stopped, lists and ini
// saved) and ends with exit code 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "tests/app/framewick_child.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kCaptureOutputWithin = 90s;  // libVLC's start and the first files, under the sanitizers
constexpr auto kClosingWithin = 10s;

// Every file below folder with its size and time of last writing.
std::map<fs::path, std::pair<uintmax_t, fs::file_time_type>> FilesBelow(const fs::path& folder) {
    std::map<fs::path, std::pair<uintmax_t, fs::file_time_type>> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error)) files[it->path()] = {it->file_size(error), it->last_write_time(error)};
    return files;
}

bool HasFileStartingWith(const fs::path& folder, const std::string& prefix) {
    for (const auto& [path, info] : FilesBelow(folder))
        if (path.filename().string().rfind(prefix, 0) == 0 && info.first > 0) return true;
    return false;
}

class SessionEndTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.ok());
        ASSERT_TRUE(fw_test::WaitUntil([] { return fw_test::TcpPortIsFree(fw_test::kFirstSinkPort); },
                                       fw_test::kSinkPortFreeWithin))
            << "another program holds the capture's sink port " << fw_test::kFirstSinkPort;
        data = program.ProgramFolder();
        port = program.Port();
    }

    fw_test::TempDir root;
    fw_test::FramewickChild program{root.path(), fw_test::FramewickChild::TCapture::ScreenArea};
    fs::path data;
    int port = 0;
};

TEST_P(SessionEndTest, SignalRunsTheClosingSavesEverythingAndEndsWithZero) {
    const int signal = GetParam();
    auto framewick = program.Start();
    ASSERT_TRUE(framewick->running());
    const fs::path share = program.Share();
    ASSERT_TRUE(fw_test::WaitUntil(
        [&] { return HasFileStartingWith(share, "capimg_") && HasFileStartingWith(share, "stream"); },
        kCaptureOutputWithin))
        << "the capture published neither snapshots nor stream files";
    EXPECT_FALSE(fs::exists(data / "framewick.ini"));  // written by the closing only

    ASSERT_EQ(::kill(framewick->pid(), signal), 0);
    const std::optional<int> exitCode = framewick->WaitForExit(kClosingWithin);
    ASSERT_TRUE(exitCode.has_value()) << "still running " << std::chrono::seconds(kClosingWithin).count()
                                      << " s after the signal";
    EXPECT_EQ(*exitCode, 0);

    // The closing saved the ini and every list file in the program's own layout.
    EXPECT_TRUE(fs::is_regular_file(data / "framewick.ini"));
    EXPECT_TRUE(fs::is_regular_file(data / "wsocket.xml"));
    for (const char* list : {"capture.xml", "httpserv.xml"}) {
        const std::string saved = fw_test::ReadFile(data / list);
        EXPECT_EQ(saved.rfind("<?xml", 0), 0u) << list << " was not saved by the closing";
    }
    EXPECT_NE(fw_test::ReadFile(data / "capture.xml").find("<strLocalDir>live</strLocalDir>"), std::string::npos);
    // Nothing writes into the share any more.
    const auto after = FilesBelow(share);
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(FilesBelow(share), after) << "something still writes into the share";
    EXPECT_FALSE(fw_test::WaitForTcpPort(port, 200ms)) << "the web server still listens";
}

INSTANTIATE_TEST_SUITE_P(Signals, SessionEndTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : info.param == SIGINT ? "SIGINT" : "SIGHUP");
                         });

}  // namespace
