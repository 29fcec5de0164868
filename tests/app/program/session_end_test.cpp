// The end of the session told by a signal, to Framewick itself running as a second process with a
// capture of an X display of its own: the program runs its closing (captures stopped, lists and ini
// saved) and ends with exit code 0.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "tests/app/program/framewick_child.h"
#include "tests/support/PrivateXServer.h"
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

// A start with no capture service opens the capture-service editor for a first one. The session's end
// there cancels the editor and runs the closing, as in every other state: not the hard exit of a start
// whose editor was cancelled.
struct TFirstStartCase {
    const char* Name;
    bool Present;
    const char* CaptureXml;
    bool KeptAside;  // the start cannot read the file and keeps it aside
};

class FirstStartSessionEndTest : public ::testing::TestWithParam<TFirstStartCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.ok());
        ASSERT_TRUE(x.ok()) << "no X server of the test's own";
        fw_test::SetFramewickChildEnvironment();
    }

    // The editor as the X server holds it: a window of that caption.
    bool EditorIsOpen() const {
        std::string tree;
        return fw_test::RunProgram({"xwininfo", "-display", x.name(), "-root", "-tree"}, &tree) == 0 &&
               tree.find("\"Setup Capture-Service") != std::string::npos;
    }

    fw_test::TempDir root;
    fw_test::FramewickFolder program{FW_FRAMEWICK, root.path() / "prog"};
    fw_test::PrivateXServer x{1024, 768};
};

constexpr auto kEditorOpenWithin = 60s;

TEST_P(FirstStartSessionEndTest, SigtermInTheFirstCaptureEditorRunsTheClosing) {
    const TFirstStartCase& c = GetParam();
    if (c.Present) fw_test::WriteFile(program / "capture.xml", c.CaptureXml);
    const std::unique_ptr<fw_test::ChildProcess> framewick =
        program.Start({}, {"DISPLAY=" + x.name(), "QT_QPA_PLATFORM=xcb"});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return EditorIsOpen() || !framewick->running(); }, kEditorOpenWithin))
        << "the capture-service editor did not open";
    ASSERT_TRUE(framewick->running()) << "the program ended before its editor opened";

    ASSERT_EQ(::kill(framewick->pid(), SIGTERM), 0);
    const std::optional<int> exitCode = framewick->WaitForExit(kClosingWithin);
    ASSERT_TRUE(exitCode.has_value()) << "still running " << std::chrono::seconds(kClosingWithin).count()
                                      << " s after the signal";
    EXPECT_EQ(*exitCode, 0);

    // The closing saved the ini and the lists: no capture service, the default web server.
    EXPECT_TRUE(fs::is_regular_file(program / "framewick.ini"));
    EXPECT_TRUE(fs::is_regular_file(program / "wsocket.xml"));
    const std::string captures = fw_test::ReadFile(program / "capture.xml");
    EXPECT_NE(captures.find("<CAPTURE_LIST"), std::string::npos) << captures;
    EXPECT_EQ(captures.find("CAPTURE_LIST_ENTRY"), std::string::npos) << captures;
    EXPECT_NE(fw_test::ReadFile(program / "httpserv.xml").find("<HTTP_SERVER_LIST_ENTRY>"), std::string::npos);
    // A damaged file the start could not read stays, aside.
    if (c.KeptAside) {
        bool keptAside = false;
        for (const fs::directory_entry& file : fs::directory_iterator(program.path()))
            keptAside |= file.path().filename().string().rfind("capture.xml.damaged-", 0) == 0 &&
                         fw_test::ReadFile(file.path()) == c.CaptureXml;
        EXPECT_TRUE(keptAside) << "the damaged capture.xml is gone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    CaptureLists, FirstStartSessionEndTest,
    ::testing::Values(TFirstStartCase{"Missing", false, "", false}, TFirstStartCase{"Empty", true, "", true},
                      TFirstStartCase{"NoEntry", true, "<CAPTURE_LIST></CAPTURE_LIST>", false},
                      TFirstStartCase{"Damaged", true, "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>cut off he", true}),
    [](const ::testing::TestParamInfo<TFirstStartCase>& info) { return std::string(info.param.Name); });

}  // namespace
