// Framewick itself as a second process, for what it tells that a user cannot act on: the first start
// of a new installation with a capture through libVLC writes nothing about the COM classes it
// registers or about libVLC options, and a web server that runs out of descriptors says so once,
// and once more when they are back, not at every retry of its accept.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/program/framewick_child.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kListeningWithin = 60s;
constexpr auto kCaptureOutputWithin = 90s;  // libVLC's start and the first playlist, under the sanitizers
constexpr auto kClosingWithin = 30s;
constexpr auto kLoggedWithin = 10s;  // the log list is written out once a second
constexpr auto kAnswerWithin = 10s;
constexpr size_t kSpareDescriptors = 6;  // what the program may still open once the limit is set
constexpr const char* kShortageLine = "accept failed: Too many open files";

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

int ConnectLoopback(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

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

// The program's descriptors are capped a few above those it holds; idle connections use them up.
// Connections wait in the listening queue meanwhile, and are served once the idle ones are gone.
TEST(QuietProgramTest, ADescriptorShortageIsLoggedOnceWhenItBeginsAndOnceWhenItEnds) {
    if (::access("/usr/bin/prlimit", X_OK) != 0) GTEST_SKIP() << "prlimit (util-linux) is missing";
    fw_test::TempDir root;
    fw_test::FramewickChild program(root.path(), fw_test::FramewickChild::TCapture::DroppedFiles);
    ASSERT_TRUE(program.ok());
    fw_test::WriteFile(program.WebRoot() / "page.html", "<html>page</html>");
    auto framewick = program.Start();
    ASSERT_TRUE(fw_test::WaitForTcpPort(program.Port(), kListeningWithin)) << "the web server did not start";
    std::this_thread::sleep_for(2s);  // the start's own files have come and gone
    ASSERT_TRUE(framewick->running());

    const std::string limit = std::to_string(fw_test::DescriptorCount(framewick->pid()) + kSpareDescriptors);
    ASSERT_EQ(fw_test::RunProgram({"prlimit", "--pid", std::to_string(framewick->pid()),
                                   "--nofile=" + limit + ":" + limit}),
              0);
    std::vector<int> idle;
    for (size_t i = 0; i < 3 * kSpareDescriptors; ++i) idle.push_back(ConnectLoopback(program.Port()));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return program.LogText().find(kShortageLine) != std::string::npos; },
                                   kLoggedWithin))
        << "no line about the shortage of descriptors; the log:\n" << program.LogText();
    // The shortage lasts for many of the listener's retries.
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(framewick->running()) << "the program ended for want of descriptors";
    for (int fd : idle)
        if (fd >= 0) ::close(fd);

    EXPECT_TRUE(fw_test::WaitUntil(
        [&] { return program.LogText().find("descriptors are free again") != std::string::npos; }, kLoggedWithin))
        << "the end of the shortage was not logged; the log:\n" << program.LogText();
    std::string output;
    EXPECT_TRUE(fw_test::WaitUntil(
        [&] {
            return fw_test::RunProgram({"curl", "-sf", "-m", "2",
                                        "http://127.0.0.1:" + std::to_string(program.Port()) + "/page.html"},
                                       &output) == 0 &&
                   output == "<html>page</html>";
        },
        kAnswerWithin));
    EXPECT_EQ(Occurrences(program.LogText(), kShortageLine), 1u) << "one line per shortage, not per retry";
    EXPECT_TRUE(framewick->running());
}

}  // namespace
