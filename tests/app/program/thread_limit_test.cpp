// Framewick itself as a second process whose tasks are capped (as a desktop session caps them): twice
// as many idle connections as the cap allows threads. The connections that get no thread are closed
// at once, the shortage is logged once, and the program stays alive and answers again as soon as the
// connections are gone. The cap must count the program's tasks alone: root is not bound by it, so
// root runs the program under a user id that nothing else uses; any other user's tasks are counted per
// user namespace, so that user runs the program in a user namespace of its own.
// The same program with its open descriptors capped: accepting fails while idle connections hold them,
// which is logged once when it begins and once when it ends; the program finds the end itself, without
// a new connection, and answers afterwards.
#include <gtest/gtest.h>
#include <errno.h>
#include <netinet/in.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/program/framewick_child.h"
#include "tests/support/test_env.h"
#include "tests/support/unprivileged.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kListeningWithin = 60s;
constexpr auto kAnswerWithin = 10s;
// Every idle connection's thread has let its descriptor go on a busy machine, the end of the shortage
// has settled and the log list has been written out.
constexpr auto kFreedWithin = 30s;
constexpr auto kClosedWithin = 10s;
constexpr auto kLoggedWithin = 10s;  // the log list is written out once a second
constexpr size_t kSpareTasks = 16;  // threads the program may still start once the cap is set
constexpr uid_t kFirstCandidateUid = 47000;
constexpr uid_t kLastCandidateUid = 47999;
constexpr const char* kShortageLine = "no thread for a new connection";
constexpr size_t kSpareDescriptors = 6;  // what the program may still open once its limit is set
constexpr const char* kDescriptorShortageLine = "accept failed: Too many open files";
constexpr const char* kDescriptorShortageEndLine = "descriptors are free again";

bool UidHasProcesses(uid_t uid) {
    std::error_code error;
    for (fs::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
        std::ifstream status(it->path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("Uid:", 0) == 0) {
                if (std::stoul(line.substr(4)) == uid) return true;
                break;
            }
    }
    return false;
}

// A user id without an account and without processes: the cap then counts the program's tasks alone.
uid_t UnusedUid() {
    for (uid_t uid = kFirstCandidateUid; uid <= kLastCandidateUid; ++uid)
        if (::getpwuid(uid) == nullptr && !UidHasProcesses(uid)) return uid;
    return 0;
}

bool ProgramExists(const char* path) { return ::access(path, X_OK) == 0; }

// What the program runs under, and what sets its cap: as root, setpriv to an unused uid; as any other
// user, the program in a user namespace of its own (and the cap set by the user itself). Empty when
// neither can be had here, with the reason in *missing.
struct TCappedUser {
    std::vector<std::string> Program;
    std::vector<std::string> Limiter;
    uid_t Owner = 0;  // of the program's folders
};

std::optional<TCappedUser> CappedUser(std::string* missing) {
    if (!ProgramExists("/usr/bin/prlimit")) {
        *missing = "prlimit (util-linux) is missing";
        return std::nullopt;
    }
    if (::geteuid() != 0) {
        std::string output;
        const std::vector<std::string> ownNamespace = {"unshare", "--user", "--map-current-user", "--"};
        std::vector<std::string> probe = ownNamespace;
        probe.push_back("true");
        if (fw_test::RunProgram(probe, &output) != 0) {
            *missing = "no user namespace of its own for the program (unshare --user): " + output;
            return std::nullopt;
        }
        return TCappedUser{ownNamespace, {}, ::geteuid()};
    }
    if (!ProgramExists("/usr/bin/setpriv")) {
        *missing = "setpriv (util-linux) is missing";
        return std::nullopt;
    }
    const uid_t uid = UnusedUid();
    if (uid == 0) {
        *missing = "no unused user id between " + std::to_string(kFirstCandidateUid) + " and " +
                   std::to_string(kLastCandidateUid);
        return std::nullopt;
    }
    // The limit is set from the uid itself: a root without CAP_SYS_RESOURCE (a container) may not change
    // the limits of another user's process, while the user may lower its own.
    const std::string id = std::to_string(uid);
    const std::vector<std::string> asTheUid = {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"};
    return TCappedUser{asTheUid, asTheUid, uid};
}

std::string UserNamespaceOf(int pid) {
    std::error_code error;
    return fs::read_symlink(fs::path("/proc") / std::to_string(pid) / "ns" / "user", error).string();
}

// The program has closed the connection: its end (or a reset) is there to read.
bool ClosedByTheProgram(int fd) {
    char byte = 0;
    const ssize_t n = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

size_t ClosedConnections(const std::vector<int>& fds) {
    size_t closed = 0;
    for (const int fd : fds) closed += fd >= 0 && ClosedByTheProgram(fd) ? 1 : 0;
    return closed;
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

constexpr const char* kPage = "<html>page</html>";

// The web server on port answers page.html with kPage now.
bool ServesThePage(int port) {
    std::string output;
    return fw_test::RunProgram({"curl", "-sf", "-m", "2", "http://127.0.0.1:" + std::to_string(port) + "/page.html"},
                               &output) == 0 &&
           output == kPage;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

// Gives the programs started from now on folders of their own below root (registry, lock, XDG folders
// and home), so that they can be handed to another user; the runtime folder is private as it must be.
void UseFoldersBelow(const fs::path& root) {
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "HOME", "FRAMEWICK_REGISTRY_HKCU",
                                 "FRAMEWICK_REGISTRY_HKLM", "FRAMEWICK_LOCK_DIR"}) {
        const fs::path folder = root / "env" / variable;
        fs::create_directories(folder);
        ::setenv(variable, folder.c_str(), 1);
    }
    fs::permissions(root / "env" / "XDG_RUNTIME_DIR", fs::perms::owner_all, fs::perm_options::replace);
}

// Hands every folder and list file below root to its owner, the uid (the program's files are links or
// copies of the build's, readable by all; they keep their owner).
void HandOver(const fw_test::UnprivilegedTempDir& root) {
    root.GiveAway(root.path());
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root.path()))
        if (entry.is_directory() || entry.path().extension() == ".xml") root.GiveAway(entry.path());
}

TEST(ThreadLimitTest, ConnectionsBeyondTheThreadCapAreClosedAndTheProgramAnswersAfterwards) {
    std::string missing;
    const std::optional<TCappedUser> user = CappedUser(&missing);
    if (!user) GTEST_SKIP() << missing;

    const fw_test::UnprivilegedTempDir root(user->Owner, user->Owner);
    fw_test::FramewickChild program(root.path(), fw_test::FramewickChild::TCapture::DroppedFiles);
    ASSERT_TRUE(program.ok());
    fw_test::WriteFile(program.WebRoot() / "page.html", kPage);
    UseFoldersBelow(root.path());
    ::unsetenv("DISPLAY");  // offscreen windows and a capture of dropped files: no X server needed
    ASSERT_NO_THROW(HandOver(root));

    auto framewick = program.Start(user->Program);
    ASSERT_TRUE(fw_test::WaitForTcpPort(program.Port(), kListeningWithin)) << "the web server did not start";
    std::this_thread::sleep_for(2s);  // the start's own threads have come and gone
    ASSERT_TRUE(framewick->running());
    if (::geteuid() != 0) {
        ASSERT_NE(UserNamespaceOf(framewick->pid()), UserNamespaceOf(::getpid())) << "no user namespace of its own";
    }

    const size_t cap = fw_test::TaskCount(framewick->pid()) + kSpareTasks;
    const std::string limit = std::to_string(cap);
    std::vector<std::string> setLimit = user->Limiter;
    setLimit.insert(setLimit.end(), {"prlimit", "--pid", std::to_string(framewick->pid()), "--nproc=" + limit + ":" + limit});
    ASSERT_EQ(fw_test::RunProgram(setLimit), 0);
    ASSERT_NE(fw_test::ReadFile(fs::path("/proc") / std::to_string(framewick->pid()) / "limits")
                  .find("Max processes             " + limit),
              std::string::npos);

    std::vector<int> idle;
    for (size_t i = 0; i < 2 * cap; ++i) idle.push_back(ConnectLoopback(program.Port()));
    EXPECT_TRUE(
        fw_test::WaitUntil([&] { return program.LogText().find(kShortageLine) != std::string::npos; }, kLoggedWithin))
        << "no line about the shortage of threads";
    // At most cap of them can have a thread: the program closes the others, rather than keeping them
    // waiting for one.
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ClosedConnections(idle) >= cap; }, kClosedWithin))
        << ClosedConnections(idle) << " of " << idle.size() << " connections closed, under a cap of " << cap << " tasks";
    ASSERT_TRUE(framewick->running()) << "the program ended at the cap on its threads";
    for (int fd : idle) ::close(fd);

    // The threads of the idle connections serve again; the end of the shortage is logged too.
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ServesThePage(program.Port()); }, kAnswerWithin));
    EXPECT_TRUE(fw_test::WaitUntil(
        [&] { return program.LogText().find("threads are free again") != std::string::npos; }, kLoggedWithin));
    EXPECT_EQ(Occurrences(program.LogText(), kShortageLine), 1u) << "one line per shortage, not per connection";
    EXPECT_TRUE(framewick->running());
}

// The program's descriptors are capped a few above those it holds; idle connections use them up.
// Connections wait in the listening queue meanwhile; the end of the shortage is told once the idle ones are gone.
TEST(DescriptorLimitTest, AShortageIsLoggedOnceWhenItBeginsAndOnceWhenItEndsAndTheProgramAnswersAfterwards) {
    if (::access("/usr/bin/prlimit", X_OK) != 0) GTEST_SKIP() << "prlimit (util-linux) is missing";
    fw_test::TempDir root;
    fw_test::FramewickChild program(root.path(), fw_test::FramewickChild::TCapture::DroppedFiles);
    ASSERT_TRUE(program.ok());
    fw_test::WriteFile(program.WebRoot() / "page.html", kPage);
    UseFoldersBelow(root.path());  // not those another test of this program may have left behind
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
    ASSERT_TRUE(fw_test::WaitUntil([&] { return program.LogText().find(kDescriptorShortageLine) != std::string::npos; },
                                   kLoggedWithin))
        << "no line about the shortage of descriptors; the log:\n" << program.LogText();
    // The shortage lasts for many of the listener's retries.
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(framewick->running()) << "the program ended for want of descriptors";
    for (int fd : idle)
        if (fd >= 0) ::close(fd);

    // The program finds the end itself once the idle connections' threads have let their descriptors
    // go: no client connects until it has told it. It answers afterwards.
    EXPECT_TRUE(fw_test::WaitUntil(
        [&] { return program.LogText().find(kDescriptorShortageEndLine) != std::string::npos; }, kFreedWithin))
        << "the end of the shortage was not logged; the log:\n" << program.LogText();
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ServesThePage(program.Port()); }, kAnswerWithin))
        << "not served again; the log:\n" << program.LogText();
    EXPECT_EQ(Occurrences(program.LogText(), kDescriptorShortageLine), 1u)
        << "one line per shortage, not per retry; the log:\n" << program.LogText();
    EXPECT_TRUE(framewick->running());
}

}  // namespace
