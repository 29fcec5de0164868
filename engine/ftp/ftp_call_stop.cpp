#include "engine/ftp/ftp_call_stop.h"

#include <sys/socket.h>
#include <unistd.h>

namespace engine {

void FtpCallStop::Request() {
    std::lock_guard lock(mutex_);
    requested_.store(true);
    for (const int fd : sockets_) ::shutdown(fd, SHUT_RDWR);
}

void FtpCallStop::ShutDownSockets() {
    std::lock_guard lock(mutex_);
    for (const int fd : sockets_) ::shutdown(fd, SHUT_RDWR);
}

int FtpCallStop::OpenSocket(int domain, int type, int protocol) {
    std::lock_guard lock(mutex_);
    if (requested_.load()) return -1;  // the call fails to connect at once
    const int fd = ::socket(domain, type | SOCK_CLOEXEC, protocol);
    if (fd >= 0) sockets_.insert(fd);
    return fd;
}

int FtpCallStop::CloseSocket(int fd) {
    std::lock_guard lock(mutex_);
    sockets_.erase(fd);
    return ::close(fd);
}

}  // namespace engine
