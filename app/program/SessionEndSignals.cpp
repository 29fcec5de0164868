#include "app/program/SessionEndSignals.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>

namespace app {

namespace {

constexpr std::array<int, 3> kSessionEndSignals = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> g_writeFd{-1};
std::array<struct sigaction, kSessionEndSignals.size()> g_previous{};

// Only what is safe in a signal handler: one write of one byte.
void WriteSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    const int fd = g_writeFd.load();
    if (fd >= 0 && ::write(fd, &number, 1) < 0) {
        // A full pipe already holds a signal to handle; nothing else can be done here.
    }
    errno = savedErrno;
}

sigset_t SessionEndSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSessionEndSignals) sigaddset(&set, signal);
    return set;
}

// Lets the held signals through when the constructor ends, however it ends.
class TReleaseHeldSignals {
public:
    ~TReleaseHeldSignals() {
        const sigset_t set = SessionEndSet();
        ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    }
};

}  // namespace

void TSessionEndSignals::HoldUntilInstalled() {
    const sigset_t set = SessionEndSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TSessionEndSignals::TSessionEndSignals(std::function<void(int signal)> onSignal) : onSignal_(std::move(onSignal)) {
    const TReleaseHeldSignals release;
    int fds[2];
    if (g_writeFd.load() >= 0 || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readFd_ = fds[0];
    writeFd_ = fds[1];
    g_writeFd = writeFd_;
    notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadSignals(); });

    struct sigaction action {};
    action.sa_handler = &WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed_ = true;
    for (size_t i = 0; i < kSessionEndSignals.size(); ++i)
        if (::sigaction(kSessionEndSignals[i], &action, &g_previous[i]) != 0) installed_ = false;
}

TSessionEndSignals::~TSessionEndSignals() {
    if (readFd_ < 0) return;
    for (size_t i = 0; i < kSessionEndSignals.size(); ++i) ::sigaction(kSessionEndSignals[i], &g_previous[i], nullptr);
    g_writeFd = -1;
    notifier_.reset();
    ::close(readFd_);
    ::close(writeFd_);
}

void TSessionEndSignals::ReadSignals() {
    unsigned char numbers[16];
    for (ssize_t n; (n = ::read(readFd_, numbers, sizeof numbers)) > 0;)
        for (ssize_t i = 0; i < n; ++i)
            if (onSignal_) onSignal_(numbers[i]);
}

}  // namespace app
