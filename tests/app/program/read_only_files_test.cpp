// Framewick itself, run as a user for whom file modes count, closes over settings and list files it may
// not replace: a file the user made read-only keeps its bytes and its mode, the closing logs why, the
// files that can be written are saved all the same, and the program ends normally.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/app/program/framewick_child.h"
#include "tests/support/test_env.h"
#include "tests/support/unprivileged.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kStartWithin = 60s;  // the program under the sanitizers, on a busy machine
constexpr auto kClosingWithin = 30s;
constexpr mode_t kReadOnlyMode = 0444;

const char* const kSavedFiles[] = {"framewick.ini", "splash.ini", "capture.xml", "httpserv.xml", "wsocket.xml"};

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// One program folder, which is also the program's data folder, with the five files written by hand.
class TProgramRun {
public:
    TProgramRun() {
        for (const char* folder : {"prog", "www", "drop", "hkcu", "hklm", "lock", "config", "data", "runtime"}) {
            fs::create_directory(root / folder);
            root.GiveAway(root / folder);
        }
        ::chmod((root / "runtime").c_str(), 0700);
        // The program's files are not given away: the links are the build's own files.
        if (!program.ok()) ADD_FAILURE() << "the program folder could not be laid out";
        port = fw_test::FreeTcpPort();
        // Each file as the program would never write it, so a save shows.
        original["framewick.ini"] = "[General]\nAskForDownload=0\n";
        original["splash.ini"] = "[Splash]\nMonIdx=7\n";
        original["httpserv.xml"] = "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><ipaddr>2130706433</ipaddr>"
                                   "<port>" + std::to_string(port) + "</port><root>" + (root / "www").string() +
                                   "/</root><auto>True</auto></HTTP_SERVER_LIST_ENTRY></HTTP_SERVER_LIST>";
        original["wsocket.xml"] = "<WEB_SOCKET_LIST><WEB_SOCKET_LIST_ENTRY><idx>1</idx><iPort>8080</iPort>"
                                  "<sName>   </sName></WEB_SOCKET_LIST_ENTRY></WEB_SOCKET_LIST>";
        original["capture.xml"] =
            "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Folder job</name><autostart>False</autostart>"
            "<SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder><capKind>5</capKind><capFilesDir>" +
            (root / "drop").string() + "/</capFilesDir><streamer_list><streamer_list_entry><strProtocol>0</strProtocol>"
            "<strLocalDir>cam</strLocalDir></streamer_list_entry></streamer_list></SCREENCAPTURE_PARAMS>"
            "</CAPTURE_LIST_ENTRY></CAPTURE_LIST>";
        for (const auto& [name, bytes] : original) {
            fw_test::WriteFile(prog / name, bytes);
            root.GiveAway(prog / name);
        }
    }

    // Starts the program, waits until its web server listens (the lists are read), calls whileRunning,
    // ends it with the session's signal and waits for its end: its exit code.
    std::optional<int> RunAndClose(const std::function<void()>& whileRunning) const {
        std::vector<std::string> launcher;
        if (::geteuid() == 0)
            launcher = {"setpriv", "--reuid=" + std::to_string(fw_test::kNobodyUid),
                        "--regid=" + std::to_string(fw_test::kNobodyGid), "--clear-groups"};
        const char* asan = ::getenv("ASAN_OPTIONS");  // with the leak detection off (framewick_child.h)
        for (const std::string& arg :
             {std::string("env"), std::string("-i"), std::string("PATH=/usr/bin:/bin"), "HOME=" + root.path().string(),
              "FRAMEWICK_REGISTRY_HKCU=" + (root / "hkcu").string(),
              "FRAMEWICK_REGISTRY_HKLM=" + (root / "hklm").string(),
              "FRAMEWICK_LOCK_DIR=" + (root / "lock").string(), "XDG_CONFIG_HOME=" + (root / "config").string(),
              "XDG_DATA_HOME=" + (root / "data").string(), "XDG_RUNTIME_DIR=" + (root / "runtime").string(),
              std::string("QT_QPA_PLATFORM=offscreen"), "ASAN_OPTIONS=" + std::string(asan ? asan : "")})
            launcher.push_back(arg);
        const std::unique_ptr<fw_test::ChildProcess> framewick = program.Start(launcher);
        if (!fw_test::WaitForTcpPort(port, kStartWithin)) {
            ADD_FAILURE() << "the program's web server never listened";
            return std::nullopt;
        }
        whileRunning();
        ::kill(framewick->pid(), SIGTERM);
        return framewick->WaitForExit(kClosingWithin);
    }

    std::string LogText() const {
        std::string text;
        std::error_code error;
        for (const auto& item : fs::directory_iterator(prog / "Log", error)) text += fw_test::ReadFile(item.path());
        return text;
    }

    fw_test::UnprivilegedTempDir root;
    const fs::path prog = root / "prog";
    const fw_test::FramewickFolder program{FW_FRAMEWICK, prog};
    int port = 0;
    std::map<std::string, std::string> original;
};

TEST(ReadOnlyFiles, AReadOnlyFileStaysAndTheOthersAreSaved) {
    const std::map<std::string, std::string> logLine = {
        {"framewick.ini", "framewick.ini cannot be written - cannot replace"},
        {"splash.ini", "splash.ini cannot be written - cannot replace"},
        {"capture.xml", "[capture.xml] not written: cannot replace"},
        {"httpserv.xml", "[httpserv.xml] not written: cannot replace"},
        {"wsocket.xml", "[wsocket.xml] not written: cannot replace"},
    };
    for (const char* readOnly : kSavedFiles) {
        TProgramRun run;
        const fs::path& prog = run.prog;
        ASSERT_EQ(::chmod((prog / readOnly).c_str(), kReadOnlyMode), 0);
        const std::optional<int> exitCode = run.RunAndClose([] {});
        ASSERT_TRUE(exitCode.has_value()) << readOnly << ": the program did not end";
        EXPECT_EQ(*exitCode, 0) << readOnly;
        EXPECT_EQ(fw_test::ReadFile(prog / readOnly), run.original[readOnly]) << readOnly;
        EXPECT_EQ(ModeOf(prog / readOnly), kReadOnlyMode) << readOnly;
        const std::string log = run.LogText();
        EXPECT_NE(log.find(logLine.at(readOnly)), std::string::npos) << readOnly << ", the log:\n" << log;
        for (const char* other : kSavedFiles)
            if (std::string(other) != readOnly)
                EXPECT_NE(fw_test::ReadFile(prog / other), run.original[other])
                    << other << " was not saved (" << readOnly << ")";
    }
}

// The data folder becomes read-only while the program runs: nothing can be replaced, every file stays
// whole, each failure is logged with the read-only folder as its cause (the files themselves could be
// written), and the program still ends normally.
TEST(ReadOnlyFiles, ADataFolderMadeReadOnlyWhileRunningKeepsEveryFile) {
    TProgramRun run;
    const fs::path& prog = run.prog;
    const std::optional<int> exitCode = run.RunAndClose([&] { ::chmod(prog.c_str(), 0555); });
    ::chmod(prog.c_str(), 0755);
    ASSERT_TRUE(exitCode.has_value()) << "the program did not end";
    EXPECT_EQ(*exitCode, 0);
    for (const char* name : kSavedFiles) EXPECT_EQ(fw_test::ReadFile(prog / name), run.original[name]) << name;
    for (const auto& item : fs::directory_iterator(prog))
        EXPECT_EQ(item.path().filename().string().find(".tmp-"), std::string::npos) << item.path();
    const std::string log = run.LogText();
    const std::string cause = "\": the folder \"" + prog.string() + "/\" is read-only (Permission denied)";
    for (const std::string& part :
         {"framewick.ini cannot be written - cannot write \"" + (prog / "framewick.ini").string() + cause,
          "splash.ini cannot be written - cannot write \"" + (prog / "splash.ini").string() + cause,
          "[capture.xml] not written: cannot write \"" + (prog / "capture.xml").string() + cause,
          "[httpserv.xml] not written: cannot write \"" + (prog / "httpserv.xml").string() + cause,
          "[wsocket.xml] not written: cannot write \"" + (prog / "wsocket.xml").string() + cause})
        EXPECT_NE(log.find(part), std::string::npos) << part << ", the log:\n" << log;
}

}  // namespace
