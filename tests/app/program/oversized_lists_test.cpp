// Framewick itself, as a second process, started over list files far beyond any real configuration (a
// capture name of 50 MB, 100,000 capture services, web servers or web sockets): its start costs about
// as much processor time as over plain lists (counted by the kernel for the process, so a busy machine
// slows both alike), says in its log what it left out, keeps the file aside whole, makes no folder
// for what it left out, touches no folder that is not its own, and ends with 0 within 10 s of SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "app/lists/list_file_limits.h"
#include "tests/app/program/framewick_child.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kStartWithin = 60s;         // a plain start, under the sanitizers on a busy machine
constexpr auto kExtraProcessorTimeAtMost = 2s;  // processor time the oversized lists may add to a plain start
constexpr auto kLogWithin = 10s;           // the log queue is written out once a second
constexpr auto kClosingWithin = 10s;
constexpr size_t kHugeListEntries = 100000;
constexpr size_t kHugeNameBytes = 50 * 1024 * 1024;

std::string ServerEntry(size_t idx, int port, const std::string& root, bool autoStart) {
    return "<HTTP_SERVER_LIST_ENTRY><idx>" + std::to_string(idx) + "</idx><ipaddr>2130706433</ipaddr><port>" +
           std::to_string(port) + "</port><root>" + root + "</root><auto>" + (autoStart ? "True" : "False") +
           "</auto></HTTP_SERVER_LIST_ENTRY>";
}

std::string CaptureEntry(const std::string& name, int port) {
    return "<CAPTURE_LIST_ENTRY><name>" + name +
           "</name><minimized>True</minimized><autostart>False</autostart><SCREENCAPTURE_PARAMS>"
           "<capEncoder>1</capEncoder><capKind>3</capKind><streamer_list><streamer_list_entry>"
           "<strProtocol>0</strProtocol><bActive>True</bActive><strLocalDir>live</strLocalDir>"
           "<strHttpIp>2130706433</strHttpIp><strHttpPort>" + std::to_string(port) +
           "</strHttpPort><strImg>True</strImg></streamer_list_entry></streamer_list></SCREENCAPTURE_PARAMS>"
           "<webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx></CAPTURE_LIST_ENTRY>";
}

std::string SocketEntry(size_t idx) {
    return "<WEB_SOCKET_LIST_ENTRY><idx>" + std::to_string(idx) + "</idx><iAddr>2130706433</iAddr><iPort>" +
           std::to_string(30000 + idx % 30000) + "</iPort><sName>ws " + std::to_string(idx) +
           "</sName><bAct>False</bAct></WEB_SOCKET_LIST_ENTRY>";
}

// The processor time process pid has used so far, its threads' together (user and system time).
std::chrono::milliseconds ProcessorTime(int pid) {
    const std::string stat = fw_test::ReadFile(fs::path("/proc") / std::to_string(pid) / "stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));  // after "pid (name) "
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {  // utime and stime are fields 14 and 15
        if (number == 14) user = std::stoull(field);
        if (number == 15) system = std::stoull(field);
    }
    return std::chrono::milliseconds((user + system) * 1000 / static_cast<unsigned long long>(::sysconf(_SC_CLK_TCK)));
}

size_t FoldersBelow(const fs::path& folder) {
    size_t count = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        count += it->is_directory(error) ? 1 : 0;
    return count;
}

// The lists a plain start reads: one web server (the test's port, its own root) and one capture service
// publishing through it. The rows change one of them.
struct TLists {
    std::string Servers;  // entries of httpserv.xml after the test's own server
    std::string Captures;
    std::string Sockets;
};

struct TOversizedCase {
    const char* Name;
    const char* File;     // the file beyond the limits, kept aside
    std::string LogLine;  // what the log says was left out
    std::function<void(TLists& lists, int port, const fs::path& foreign)> Grow;
};

class OversizedListsBase : public ::testing::Test {
protected:
    void SetUp() override {
        fw_test::SetFramewickChildEnvironment();
        fs::create_directories(foreign);
        fw_test::WriteFile(foreign / "index.html", "not Framewick's");
    }

    // The lists in program's folder.
    static void Write(const fw_test::FramewickFolder& program, const TLists& lists, int port) {
        const fs::path www = program / "www";
        fs::create_directories(www);
        fw_test::WriteFile(program / "httpserv.xml", "<HTTP_SERVER_LIST>" +
                                                         ServerEntry(1, port, www.string() + "/", true) +
                                                         lists.Servers + "</HTTP_SERVER_LIST>");
        fw_test::WriteFile(program / "capture.xml", "<CAPTURE_LIST>" + lists.Captures + "</CAPTURE_LIST>");
        if (!lists.Sockets.empty())
            fw_test::WriteFile(program / "wsocket.xml", "<WEB_SOCKET_LIST>" + lists.Sockets + "</WEB_SOCKET_LIST>");
    }

    // Starts program and waits for its web server: the processor time the program took until then.
    static std::optional<std::chrono::milliseconds> Start(const fw_test::FramewickFolder& program, int port,
                                                          std::unique_ptr<fw_test::ChildProcess>& framewick) {
        framewick = program.Start();
        if (!fw_test::WaitForTcpPort(port, kStartWithin)) return std::nullopt;
        return ProcessorTime(framewick->pid());
    }

    static void EndWithSigterm(std::unique_ptr<fw_test::ChildProcess>& framewick) {
        ASSERT_EQ(::kill(framewick->pid(), SIGTERM), 0);
        const std::optional<int> exitCode = framewick->WaitForExit(kClosingWithin);
        ASSERT_TRUE(exitCode.has_value()) << "still running " << std::chrono::seconds(kClosingWithin).count()
                                          << " s after SIGTERM";
        EXPECT_EQ(*exitCode, 0);
    }

    fw_test::TempDir root;
    fs::path foreign = root.path() / "foreign";
};

class OversizedListsTest : public OversizedListsBase, public ::testing::WithParamInterface<TOversizedCase> {};

double Seconds(std::chrono::milliseconds d) { return std::chrono::duration<double>(d).count(); }

TEST_P(OversizedListsTest, StartsAsOverPlainListsLogsWhatItLeftOutAndEndsOnSigterm) {
    const TOversizedCase& c = GetParam();
    const auto foreignBefore = fs::last_write_time(foreign / "index.html");

    // This machine's plain start, at this moment.
    fw_test::FramewickFolder plain(FW_FRAMEWICK, root.path() / "plain");
    ASSERT_TRUE(plain.ok());
    TLists lists;
    int port = fw_test::FreeTcpPort();
    lists.Captures = CaptureEntry("plain", port);
    std::unique_ptr<fw_test::ChildProcess> framewick;
    Write(plain, lists, port);
    const std::optional<std::chrono::milliseconds> plainStart = Start(plain, port, framewick);
    ASSERT_TRUE(plainStart.has_value()) << "a plain start did not start its web server";
    EndWithSigterm(framewick);

    fw_test::FramewickFolder program(FW_FRAMEWICK, root.path() / "prog");
    ASSERT_TRUE(program.ok());
    port = fw_test::FreeTcpPort();
    lists.Captures = CaptureEntry("plain", port);
    c.Grow(lists, port, foreign);
    Write(program, lists, port);
    const uintmax_t originalBytes = fs::file_size(program / c.File);
    const std::optional<std::chrono::milliseconds> start = Start(program, port, framewick);
    ASSERT_TRUE(start.has_value()) << "the web server did not start";
    std::cout << c.Name << ": web server after " << Seconds(*start) << " s of processor time, plain start "
              << Seconds(*plainStart) << " s\n";
    EXPECT_LT(*start, *plainStart + kExtraProcessorTimeAtMost);

    ASSERT_TRUE(fw_test::WaitUntil([&] { return program.LogText().find(c.LogLine) != std::string::npos; }, kLogWithin))
        << "the log does not say \"" << c.LogLine << "\":\n" << program.LogText().substr(0, 4000);
    EndWithSigterm(framewick);

    // The file as it was, aside; the saved one holds what was read.
    bool keptAside = false;
    for (const fs::directory_entry& file : fs::directory_iterator(program.path()))
        keptAside |= file.path().filename().string().rfind(std::string(c.File) + ".damaged-", 0) == 0 &&
                     file.file_size() == originalBytes;
    EXPECT_TRUE(keptAside) << c.File << " is not kept aside whole";
    EXPECT_LT(fs::file_size(program / c.File), originalBytes);
    // One default root per web server read, none for those left out; nothing in the foreign folder.
    EXPECT_LE(FoldersBelow(program / "HTML"), app::kMaxListEntries + 1);
    EXPECT_EQ(fs::last_write_time(foreign / "index.html"), foreignBefore);
    EXPECT_EQ(FoldersBelow(foreign), 0u);
}

std::string Entries(size_t count, const std::function<std::string(size_t)>& entry) {
    std::string text;
    for (size_t i = 1; i <= count; ++i) text += entry(i);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, OversizedListsTest,
    ::testing::Values(
        TOversizedCase{"CaptureName50MB", "capture.xml",
                       "[capture.xml] entry 1: name is left out: its text is longer than",
                       [](TLists& lists, int port, const fs::path&) {
                           lists.Captures = CaptureEntry(std::string(kHugeNameBytes, 'N'), port);
                       }},
        TOversizedCase{"CaptureServices100000", "capture.xml",
                       "[capture.xml] " + std::to_string(kHugeListEntries - app::kMaxCaptureServices) +
                           " entries after the first " + std::to_string(app::kMaxCaptureServices) + " are left out",
                       [](TLists& lists, int port, const fs::path&) {
                           lists.Captures = Entries(kHugeListEntries, [port](size_t i) {
                               return CaptureEntry("capture " + std::to_string(i), port);
                           });
                       }},
        // The first of them would serve the foreign folder, were its root cut to the longest path.
        TOversizedCase{"WebServers100000", "httpserv.xml",
                       "[httpserv.xml] " + std::to_string(kHugeListEntries + 1 - app::kMaxListEntries) +
                           " entries after the first " + std::to_string(app::kMaxListEntries) + " are left out",
                       [](TLists& lists, int, const fs::path& foreign) {
                           std::string longRoot = foreign.string();
                           while (longRoot.size() <= app::kMaxListTextBytes) longRoot += "/.";
                           lists.Servers = Entries(kHugeListEntries, [&](size_t i) {
                               return ServerEntry(i + 1, 20000 + static_cast<int>(i % 40000), i == 1 ? longRoot : "",
                                                  false);
                           });
                       }},
        TOversizedCase{"WebSockets100000", "wsocket.xml",
                       "[wsocket.xml] " + std::to_string(kHugeListEntries - app::kMaxListEntries) +
                           " entries after the first " + std::to_string(app::kMaxListEntries) + " are left out",
                       [](TLists& lists, int, const fs::path&) {
                           lists.Sockets = Entries(kHugeListEntries, SocketEntry);
                       }}),
    [](const ::testing::TestParamInfo<TOversizedCase>& info) { return std::string(info.param.Name); });

// SIGTERM at any moment of a start over the largest list, from the start-up code on: before the handlers
// are in place, before the message loop runs, while the list is read, before and after the web servers
// start. The closing runs and nothing is lost: the file
// is either still in place or kept aside whole.
class SigtermDuringStartTest : public OversizedListsBase, public ::testing::WithParamInterface<int> {};

TEST_P(SigtermDuringStartTest, EndsWithZeroAndKeepsTheList) {
    fw_test::FramewickFolder program(FW_FRAMEWICK, root.path() / "prog");
    ASSERT_TRUE(program.ok());
    const int port = fw_test::FreeTcpPort();
    TLists lists;
    lists.Captures =
        Entries(kHugeListEntries, [port](size_t i) { return CaptureEntry("capture " + std::to_string(i), port); });
    Write(program, lists, port);
    const uintmax_t originalBytes = fs::file_size(program / "capture.xml");

    const std::unique_ptr<fw_test::ChildProcess> framewick = program.Start();
    // The start-up code makes the data folder's Log/ first of all, before any window exists.
    ASSERT_TRUE(fw_test::WaitUntil([&] { return fs::exists(program / "Log"); }, kStartWithin));
    std::this_thread::sleep_for(std::chrono::milliseconds(GetParam()));
    ASSERT_EQ(::kill(framewick->pid(), SIGTERM), 0);
    const std::optional<int> exitCode = framewick->WaitForExit(kClosingWithin);
    ASSERT_TRUE(exitCode.has_value()) << "still running " << std::chrono::seconds(kClosingWithin).count()
                                      << " s after SIGTERM";
    EXPECT_EQ(*exitCode, 0);

    bool whole = false;
    for (const fs::directory_entry& file : fs::directory_iterator(program.path()))
        whole |= file.path().filename().string().rfind("capture.xml", 0) == 0 && file.file_size() == originalBytes;
    EXPECT_TRUE(whole) << "the list of " << kHugeListEntries << " capture services is lost";
}

INSTANTIATE_TEST_SUITE_P(Moments, SigtermDuringStartTest, ::testing::Values(0, 100, 300, 700, 1200, 2000),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "After" + std::to_string(info.param) + "ms";
                         });

}  // namespace
