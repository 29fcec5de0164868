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

#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kCaptureOutputWithin = 90s;  // libVLC's start and the first files, under the sanitizers
constexpr auto kClosingWithin = 10s;
constexpr int kFirstSinkPort = 47048;  // the program's first internal port, which its capture takes
constexpr auto kSinkPortFreeWithin = 60s;

// A hard link where the file system allows one, else a copy.
bool LinkOrCopy(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_hard_link(from, to, error);
    if (error) fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

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
        // The program and its COM servers in a folder of the test's own: the program keeps its data
        // and makes its library folder beside itself, not in the build's folder of programs.
        data = root.path() / "prog";
        www = root.path() / "www";
        fs::create_directories(data);
        fs::create_directories(www);
        const fs::path built(FW_FRAMEWICK);
        for (const char* file : {"Framewick", "libOrbelle32.so", "libFwScreenCapture.so", "libFwAudioGrab.so"})
            ASSERT_TRUE(LinkOrCopy(built.parent_path() / file, data / file)) << file;
        ASSERT_TRUE(fw_test::WaitUntil([] { return fw_test::TcpPortIsFree(kFirstSinkPort); }, kSinkPortFreeWithin))
            << "another program holds the capture's sink port " << kFirstSinkPort;
        port = fw_test::FreeTcpPort();
        fw_test::WriteFile(data / "httpserv.xml",
                           "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><ipaddr>2130706433</ipaddr><port>" +
                               std::to_string(port) + "</port><root>" + www.string() +
                               "/</root><auto>True</auto><ExtHttpServer>False</ExtHttpServer>"
                               "<Authentication>False</Authentication></HTTP_SERVER_LIST_ENTRY></HTTP_SERVER_LIST>");
        fw_test::WriteFile(data / "capture.xml",
                           "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Screen area</name><minimized>False</minimized>"
                           "<autostart>True</autostart><SCREENCAPTURE_PARAMS><capEncoder>1</capEncoder>"
                           "<capKind>3</capKind><iLeft>0</iLeft><iTop>0</iTop><iWidth>320</iWidth>"
                           "<iHeight>240</iHeight><streamer_list><streamer_list_entry><strProtocol>0</strProtocol>"
                           "<bActive>True</bActive><strLocalDir>live</strLocalDir><strHttpIp>2130706433</strHttpIp>"
                           "<strHttpPort>" + std::to_string(port) + "</strHttpPort><strVideo>True</strVideo>"
                           "<strImg>True</strImg><strFile>False</strFile></streamer_list_entry></streamer_list>"
                           "</SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx>"
                           "</CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);  // its windows; the capture grabs the X display
        // Use-after-free and overflows still end it with an error; leaks are not looked for in this
        // process: libVLC unloads its plugins at the end, and what the libraries they loaded keep for
        // the life of the process then shows as leaks of unknown origin. The closing's own leaks are
        // looked for by the main window's tests, which run it in their own process.
        const char* asan = ::getenv("ASAN_OPTIONS");
        ::setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
    }

    fw_test::TempDir root;
    fs::path data;
    fs::path www;
    int port = 0;
};

TEST_P(SessionEndTest, SignalRunsTheClosingSavesEverythingAndEndsWithZero) {
    const int signal = GetParam();
    auto framewick = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{(data / "Framewick").string()});
    ASSERT_TRUE(framewick->running());
    const fs::path share = www / "live";
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
