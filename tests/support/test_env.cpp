#include "tests/support/test_env.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace fw_test {

namespace {
std::atomic<int> g_tempCounter{0};

size_t EntriesIn(const std::filesystem::path& folder) {
    std::error_code error;
    size_t count = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) ++count;
    return count;
}

int FreePort(int type) {
    int fd = ::socket(AF_INET, type, 0);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> ptrs;
    for (const auto& a : argv) ptrs.push_back(const_cast<char*>(a.c_str()));
    ptrs.push_back(nullptr);
    return ptrs;
}
}  // namespace

TempDir::TempDir() {
    path_ = ScratchRoot() / ("tmp" + std::to_string(++g_tempCounter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

int FreeTcpPort() { return FreePort(SOCK_STREAM); }
int FreeUdpPort() { return FreePort(SOCK_DGRAM); }

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (pred()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

size_t ThreadCount() {
    static const bool helperStarted = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)helperStarted;
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator()));
}

std::string ThreadNames() {
    std::string names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) names += ReadFile(task.path() / "comm");
    return names;
}

bool HasDisplay() {
    const char* d = std::getenv("DISPLAY");
    if (!d || !*d) return false;
    return RunProgram({"xdpyinfo"}, nullptr, std::chrono::seconds(10)) == 0;
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int RunProgram(const std::vector<std::string>& argv, std::string* output, std::chrono::seconds timeout) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    auto ptrs = ArgvPointers(argv);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, ptrs[0], &actions, nullptr, ptrs.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (rc != 0) {
        ::close(pipeFds[0]);
        return -1;
    }
    // The reader ends when the child (and whatever inherited the pipe) closes it; the deadline kills a hung child.
    std::atomic<bool> done{false};
    std::thread killer([&] {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!done) ::kill(pid, SIGKILL);
    });
    std::string text;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    done = true;
    killer.join();
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    auto ptrs = ArgvPointers(argv);
    // The child starts with the default disposition of every signal, as from a shell: this test
    // program ignores SIGPIPE, and what a program under test does about it must be its own doing.
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return;
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (posix_spawnp(&pid, ptrs[0], nullptr, &attr, ptrs.data(), environ) == 0) pid_ = pid;
    posix_spawnattr_destroy(&attr);
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::running() const {
    if (pid_ <= 0) return false;
    return ::waitpid(pid_, nullptr, WNOHANG) == 0;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

void ChildProcess::Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid_, nullptr, WNOHANG) != 0) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

size_t TaskCount(int pid) { return EntriesIn("/proc/" + std::to_string(pid) + "/task"); }
size_t DescriptorCount(int pid) { return EntriesIn("/proc/" + std::to_string(pid) + "/fd"); }

bool IgnoresSignal(int pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigIgn:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1u;
    return false;
}

bool WaitForTcpPort(int port, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [port] {
            int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addr.sin_port = htons(static_cast<uint16_t>(port));
            bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
            ::close(fd);
            return ok;
        },
        timeout);
}

std::unique_ptr<ChildProcess> StartWindowManager(const std::filesystem::path& marker, std::chrono::milliseconds timeout,
                                                 const std::string& display) {
    std::vector<std::string> argv;
    if (!display.empty()) argv = {"env", "DISPLAY=" + display};
    for (const char* word : {"openbox", "--sm-disable", "--startup"}) argv.push_back(word);
    argv.push_back("touch " + marker.string());
    auto windowManager = std::make_unique<ChildProcess>(argv);
    if (!WaitUntil([&] { return std::filesystem::exists(marker); }, timeout)) return nullptr;
    return windowManager;
}

}  // namespace fw_test
