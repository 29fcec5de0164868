// Framewick itself as a second process at the first start of a new installation, with a capture through
// libVLC: it writes nothing on standard error that a user cannot act on, neither about the COM classes
// it registers nor about libVLC options.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/app/program/framewick_child.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kListeningWithin = 60s;
constexpr auto kCaptureOutputWithin = 90s;  // libVLC's start and the first playlist, under the sanitizers
constexpr auto kClosingWithin = 30s;

bool HasPlaylist(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".m3u8") return true;
    return false;
}

// A program folder with one web server and one capture service in which libVLC reads an area of the
// screen itself (no internal port) and publishes HLS into the share "live".
void WriteLibVlcScreenCapture(const fs::path& program, const fs::path& www, int port) {
    const std::string portText = std::to_string(port);
    fw_test::WriteFile(program / "httpserv.xml",
                       "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><ipaddr>2130706433</ipaddr><port>" +
                           portText + "</port><root>" + www.string() +
                           "/</root><auto>True</auto></HTTP_SERVER_LIST_ENTRY></HTTP_SERVER_LIST>");
    fw_test::WriteFile(program / "capture.xml",
                       "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Capture</name><autostart>True</autostart>"
                       "<SCREENCAPTURE_PARAMS><capEncoder>0</capEncoder><capKind>3</capKind><iLeft>0</iLeft>"
                       "<iTop>0</iTop><iWidth>320</iWidth><iHeight>240</iHeight><streamer_list><streamer_list_entry>"
                       "<strProtocol>0</strProtocol><bActive>True</bActive><strLocalDir>live</strLocalDir>"
                       "<strHttpIp>2130706433</strHttpIp><strHttpPort>" +
                           portText +
                           "</strHttpPort><strVideo>True</strVideo><strImg>False</strImg><strFile>False</strFile>"
                           "</streamer_list_entry></streamer_list></SCREENCAPTURE_PARAMS></CAPTURE_LIST_ENTRY>"
                           "</CAPTURE_LIST>");
}

TEST(QuietProgramTest, TheFirstStartWithALibVlcCaptureWritesNothingOnStandardError) {
    fw_test::TempDir root;
    const fw_test::FramewickFolder program(FW_FRAMEWICK, root / "prog");
    ASSERT_TRUE(program.ok());
    fs::create_directories(root / "www");
    const int port = fw_test::FreeTcpPort();
    WriteLibVlcScreenCapture(program.path(), root / "www", port);
    // A registry of its own, empty: the program registers its COM servers as at a new installation.
    for (const char* hive : {"hkcu", "hklm"}) fs::create_directories(root / hive);
    const fs::path standardError = root / "stderr.txt";

    auto framewick = program.Start({"sh", "-c", "exec \"$@\" 2>\"$0\"", standardError.string()},
                                   {"FRAMEWICK_REGISTRY_HKCU=" + (root / "hkcu").string(),
                                    "FRAMEWICK_REGISTRY_HKLM=" + (root / "hklm").string()});
    ASSERT_TRUE(fw_test::WaitForTcpPort(port, kListeningWithin)) << "the web server did not start";
    EXPECT_TRUE(fw_test::WaitUntil([&] { return HasPlaylist(root / "www" / "live"); }, kCaptureOutputWithin))
        << "libVLC published no playlist; the log:\n" << program.LogText();
    ::kill(framewick->pid(), SIGTERM);
    EXPECT_EQ(framewick->WaitForExit(kClosingWithin), std::optional<int>(0));

    const std::string printed = fw_test::ReadFile(standardError);
    for (const char* noise : {"[com]", "no longer exists", "unknown option"})
        EXPECT_EQ(printed.find(noise), std::string::npos) << noise << ", standard error:\n" << printed;
}

}  // namespace
