// A small loopback HTTP client for the web-server tests: sends a request exactly as given (so malformed
// and tricky requests reach the server unchanged) and parses the answer with Beast.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

namespace fw_test {

struct THttpAnswer {
    bool Received = false;  // a whole response was read
    int Status = 0;
    std::map<std::string, std::string> Headers;  // lower-case names
    std::string Body;
    std::string Header(const std::string& lowerName) const;
};

// Sends rawRequest to 127.0.0.1:port and reads one response; the connection is closed afterwards.
// With headOnly the response carries no body whatever its Content-Length says.
THttpAnswer SendRawRequest(int port, const std::string& rawRequest, bool headOnly = false,
                           std::chrono::milliseconds timeout = std::chrono::seconds(10));
// The same on the connected socket fd, which it closes.
THttpAnswer SendRawRequestOn(int fd, const std::string& rawRequest, bool headOnly = false,
                             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// "METHOD target HTTP/1.1" with Host, Connection: close and the extra header lines given.
THttpAnswer Request(int port, const std::string& method, const std::string& target,
                    const std::string& extraHeaderLines = "", const std::string& body = "");

// "Authorization: Basic ..." line for user:password.
std::string BasicAuthLine(const std::string& user, const std::string& password);

// A connected socket to 127.0.0.1:port, or to another address of the loopback net (-1 on failure);
// the caller closes it.
int ConnectLoopback(int port, uint32_t address = 0x7F000001);
// Connects the TCP socket fd made beforehand, for a test that has no descriptor to spare by then.
bool ConnectSocket(int fd, int port, uint32_t address = 0x7F000001);

}  // namespace fw_test
