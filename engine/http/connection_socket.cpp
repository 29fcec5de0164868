#include "engine/http/connection_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>

#include <boost/asio/error.hpp>
#include <boost/beast/core/error.hpp>

namespace engine {
namespace {

namespace asio = boost::asio;
using boost::system::error_code;

error_code SystemError(int number) { return error_code(number, boost::system::system_category()); }

// sendfile() has no MSG_NOSIGNAL. The programs ignore SIGPIPE for the whole process; for a host that
// does not, the thread blocks SIGPIPE around the call and takes off whatever SIGPIPE the call left
// pending before the mask returns. A call can leave one behind with any result: the kernel sends the
// file in pieces, and when the peer goes between two of them the call returns the bytes already sent,
// not EPIPE. Costs two mask changes and one empty wait per call of up to a socket buffer's bytes.
class TSigpipeBlock {
public:
    TSigpipeBlock() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~TSigpipeBlock() {
        const timespec now{0, 0};
        while (sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) {
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    TSigpipeBlock(const TSigpipeBlock&) = delete;
    TSigpipeBlock& operator=(const TSigpipeBlock&) = delete;

private:
    sigset_t pipe_, previous_;
};

}  // namespace

TConnectionSocket::TConnectionSocket(int fd) : fd_(fd) {
    if (fd_ < 0) return;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    char text[INET_ADDRSTRLEN] = {};
    if (::getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &length) == 0 && peer.sin_family == AF_INET &&
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text)) {
        peerAddress_ = text;
        peerPort_ = ntohs(peer.sin_port);
    }
}

TConnectionSocket::~TConnectionSocket() {
    std::lock_guard lock(closeMutex_);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void TConnectionSocket::Abort() {
    aborted_ = true;
    std::lock_guard lock(closeMutex_);
    if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);  // wakes a poll() on it at once
}

void TConnectionSocket::ShutdownAndClose() {
    std::lock_guard lock(closeMutex_);
    if (fd_ < 0) return;
    ::shutdown(fd_, SHUT_WR);
    ::close(fd_);
    fd_ = -1;
}

bool TConnectionSocket::WaitReady(bool forWriting, error_code& ec) {
    for (;;) {
        if (aborted_) {
            ec = asio::error::operation_aborted;
            return false;
        }
        const auto now = Clock::now();
        if (now >= deadline_) {
            ec = boost::beast::error::timeout;
            return false;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - now).count();
        pollfd p{fd_, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, INT32_MAX)));
        if (ready > 0) return true;  // readiness or an error: the next call tells which
        if (ready < 0 && errno != EINTR) {
            ec = SystemError(errno);
            return false;
        }
    }
}

size_t TConnectionSocket::Transfer(TIoVector& v, bool sending, error_code& ec) {
    ec = {};
    if (fd_ < 0) {
        ec = asio::error::bad_descriptor;
        return 0;
    }
    if (v.Bytes == 0) return 0;
    for (;;) {
        if (aborted_) {
            ec = asio::error::operation_aborted;
            return 0;
        }
        msghdr message{};
        message.msg_iov = v.Parts;
        message.msg_iovlen = static_cast<size_t>(v.Count);
        const ssize_t n = sending ? ::sendmsg(fd_, &message, MSG_NOSIGNAL | (moreToFollow_ ? MSG_MORE : 0)) : ::recvmsg(fd_, &message, 0);
        if (n > 0) return static_cast<size_t>(n);
        if (n == 0 && !sending) {
            ec = asio::error::eof;
            return 0;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitReady(sending, ec)) return 0;
            continue;
        }
        ec = n < 0 ? SystemError(errno) : error_code(asio::error::broken_pipe);
        return 0;
    }
}

size_t TConnectionSocket::SendFile(int fileFd, uint64_t offset, size_t count, error_code& ec) {
    ec = {};
    if (fd_ < 0) {
        ec = asio::error::bad_descriptor;
        return 0;
    }
    TSigpipeBlock noSigpipe;
    for (;;) {
        if (aborted_) {
            ec = asio::error::operation_aborted;
            return 0;
        }
        off_t at = static_cast<off_t>(offset);
        const ssize_t n = ::sendfile(fd_, fileFd, &at, count);
        if (n >= 0) return static_cast<size_t>(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitReady(true, ec)) return 0;
            continue;
        }
        ec = SystemError(errno);
        return 0;
    }
}

}  // namespace engine
