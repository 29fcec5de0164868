#include "tests/support/foreign_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace fw_test {
namespace {

constexpr int kPollStepMs = 20;
constexpr auto kPictureInterval = std::chrono::milliseconds(100);
constexpr timeval kSendTimeout{0, 200 * 1000};

int ListenOn(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int reuse = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

TForeignListener::TForeignListener(int port, std::vector<uint8_t> picture)
    : port_(port), picture_(std::move(picture)), listener_(ListenOn(port)) {
    if (listener_ >= 0) thread_ = std::thread([this] { Serve(); });
}

TForeignListener::~TForeignListener() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
}

void TForeignListener::Serve() {
    std::vector<int> clients;
    auto nextPicture = std::chrono::steady_clock::now();
    while (!stop_) {
        pollfd accept{listener_, POLLIN, 0};
        if (::poll(&accept, 1, kPollStepMs) > 0 && (accept.revents & POLLIN)) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                ::setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &kSendTimeout, sizeof kSendTimeout);
                clients.push_back(client);
                ++clients_;
            }
        }
        if (picture_.empty() || std::chrono::steady_clock::now() < nextPicture) continue;
        nextPicture += kPictureInterval;
        for (auto it = clients.begin(); it != clients.end();) {
            if (::send(*it, picture_.data(), picture_.size(), MSG_NOSIGNAL) < 0) {
                ::close(*it);
                it = clients.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const int client : clients) ::close(client);
}

std::vector<uint8_t> SolidYv12Picture(int width, int height, uint8_t y, uint8_t u, uint8_t v) {
    const size_t luma = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t chroma = static_cast<size_t>(width / 2) * static_cast<size_t>(height / 2);
    std::vector<uint8_t> picture(luma, y);
    picture.insert(picture.end(), chroma, v);
    picture.insert(picture.end(), chroma, u);
    return picture;
}

}  // namespace fw_test
