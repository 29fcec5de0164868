// Helpers every test program shares: temporary folders, free loopback ports, waiting with a bound,
// and child processes (loopback servers, tools) that are killed when the test lets go of them.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw_test {

// The per-program scratch folder made by the shared test main; registry hives and XDG folders live below it.
const std::filesystem::path& ScratchRoot();

// A fresh folder below the scratch root, removed again when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A port that was free on 127.0.0.1 a moment ago (the kernel picks it).
int FreeTcpPort();
int FreeUdpPort();

// Polls pred every few milliseconds until it holds or the time is up; returns its last answer.
bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout);

// The threads of this process, and their names. A sanitizer may start a helper thread of its own
// with the process's first thread: the first call makes sure it exists, so every count includes it.
size_t ThreadCount();
std::string ThreadNames();

// True when an X server answers on $DISPLAY.
bool HasDisplay();

void WriteFile(const std::filesystem::path& file, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& file);

// Runs a program to its end (argument vector, no shell); returns its exit code, -1 when it could not run.
// Output (stdout and stderr) goes to *output when given.
int RunProgram(const std::vector<std::string>& argv, std::string* output = nullptr,
               std::chrono::seconds timeout = std::chrono::seconds(60));

// A program running beside the test, ended (SIGTERM, then SIGKILL) when the object goes. It starts
// with every signal at its default disposition, whatever this test program ignores.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool running() const;
    int pid() const { return pid_; }
    // Waits for the program's end: its exit code, or 128 + the signal that ended it; none when it still
    // runs after timeout (or was ended already).
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    void Kill();

private:
    int pid_ = -1;
};

// The tasks (threads) and open descriptors of a process.
size_t TaskCount(int pid);
size_t DescriptorCount(int pid);

// True when process pid ignores signal (its SigIgn mask in /proc); false when it does not or is gone.
bool IgnoresSignal(int pid, int signal);

// A window manager (openbox) on the X display of the environment, or on display when one is named;
// none when it has not taken the screen within timeout. It touches marker once it has (windows
// mapped before then may go unmanaged).
std::unique_ptr<ChildProcess> StartWindowManager(const std::filesystem::path& marker, std::chrono::milliseconds timeout,
                                                 const std::string& display = "");

// Waits until something accepts TCP connections on 127.0.0.1:port.
bool WaitForTcpPort(int port, std::chrono::milliseconds timeout);

}  // namespace fw_test
