#include "engine/capture/workers/ChildProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace engine {

namespace {

constexpr std::chrono::milliseconds kPollInterval{10};
constexpr int kFirstNonStandardFd = 3;

// posix_spawn's attribute and file-action objects, released however the start ends.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    bool ok = false;

    SpawnSetup() {
        if (posix_spawnattr_init(&attr) != 0) return;
        if (posix_spawn_file_actions_init(&actions) != 0) {
            posix_spawnattr_destroy(&attr);
            return;
        }
        ok = true;
    }
    ~SpawnSetup() {
        if (!ok) return;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

TChildProgram::~TChildProgram() { KillAndReap(); }

void TChildProgram::KillAndReap() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGKILL);  // the group: helpers the program started go too
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

TProgramRun TChildProgram::Run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    TProgramRun run;
    KillAndReap();
    if (argv.empty() || argv.front().empty()) {
        run.Error = "no program";
        return run;
    }
    SpawnSetup setup;
    if (!setup.ok) {
        run.Error = "cannot prepare the start";
        return run;
    }
    posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&setup.attr, 0);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attr, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&setup.attr, &signals);
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, kFirstNonStandardFd);

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    const auto started = std::chrono::steady_clock::now();
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv.front().c_str(), &setup.actions, &setup.attr, args.data(), environ);
    if (rc != 0) {
        run.Error = std::strerror(rc);
        return run;
    }
    pid_ = pid;

    const auto deadline = started + timeout;
    for (;;) {
        int status = 0;
        pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            run.Outcome = TProgramOutcome::Finished;
            run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (done < 0 && errno != EINTR) {  // the child is no longer ours to wait for
            pid_ = -1;
            run.Outcome = TProgramOutcome::Finished;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            KillAndReap();
            run.Outcome = TProgramOutcome::TimedOut;
            break;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    run.Elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    return run;
}

std::string CommandLineText(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& a : argv) {
        if (!line.empty()) line += ' ';
        line += a.find(' ') != std::string::npos ? "\"" + a + "\"" : a;
    }
    return line;
}

}  // namespace engine
