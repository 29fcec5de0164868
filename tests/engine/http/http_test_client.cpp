#include "tests/engine/http/http_test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include <boost/beast/core/detail/base64.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

namespace fw_test {
namespace http = boost::beast::http;

std::string THttpAnswer::Header(const std::string& lowerName) const {
    auto it = Headers.find(lowerName);
    return it == Headers.end() ? std::string() : it->second;
}

bool ConnectSocket(int fd, int port, uint32_t address) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(address);
    return ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
}

int ConnectLoopback(int port, uint32_t address) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (!ConnectSocket(fd, port, address)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

THttpAnswer SendRawRequest(int port, const std::string& rawRequest, bool headOnly,
                           std::chrono::milliseconds timeout) {
    const int fd = ConnectLoopback(port);
    if (fd < 0) return {};
    return SendRawRequestOn(fd, rawRequest, headOnly, timeout);
}

THttpAnswer SendRawRequestOn(int fd, const std::string& rawRequest, bool headOnly, std::chrono::milliseconds timeout) {
    THttpAnswer answer;
    size_t written = 0;
    while (written < rawRequest.size()) {
        ssize_t n = ::send(fd, rawRequest.data() + written, rawRequest.size() - written, MSG_NOSIGNAL);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    http::response_parser<http::string_body> parser;
    parser.body_limit(64 * 1024 * 1024);
    parser.skip(headOnly);
    std::string pending;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    char chunk[65536];
    boost::beast::error_code ec;
    while (!parser.is_done()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) {
            if (n == 0) parser.put_eof(ec);  // a body that runs to the end of the connection
            break;
        }
        pending.append(chunk, static_cast<size_t>(n));
        while (!pending.empty() && !parser.is_done()) {
            size_t used = parser.put(boost::asio::buffer(pending), ec);
            if (ec == http::error::need_more) {
                ec = {};
                break;
            }
            if (ec) break;
            pending.erase(0, used);
        }
        if (ec) break;
    }
    ::close(fd);
    if (!parser.is_done()) return answer;
    auto& message = parser.get();
    answer.Received = true;
    answer.Status = static_cast<int>(message.result_int());
    for (const auto& field : message) {
        std::string name(field.name_string());
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        answer.Headers[name] = std::string(field.value());
    }
    answer.Body = message.body();
    return answer;
}

THttpAnswer Request(int port, const std::string& method, const std::string& target,
                    const std::string& extraHeaderLines, const std::string& body) {
    std::string raw = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                      extraHeaderLines;
    if (!body.empty()) raw += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    raw += "\r\n" + body;
    return SendRawRequest(port, raw, method == "HEAD");
}

std::string BasicAuthLine(const std::string& user, const std::string& password) {
    namespace b64 = boost::beast::detail::base64;
    std::string plain = user + ":" + password;
    std::string encoded(b64::encoded_size(plain.size()), '\0');
    encoded.resize(b64::encode(encoded.data(), plain.data(), plain.size()));
    return "Authorization: Basic " + encoded + "\r\n";
}

}  // namespace fw_test
