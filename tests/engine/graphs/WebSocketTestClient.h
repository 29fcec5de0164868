// A browser-like web-socket client for tests (Boost.Beast): connects to 127.0.0.1:port, does the
// opening handshake and reads messages, every step bounded in time.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw_test {

class TWebSocketTestClient {
public:
    struct TMessage {
        bool Binary = false;
        std::vector<uint8_t> Bytes;
    };

    TWebSocketTestClient();
    ~TWebSocketTestClient();
    TWebSocketTestClient(const TWebSocketTestClient&) = delete;
    TWebSocketTestClient& operator=(const TWebSocketTestClient&) = delete;

    // TCP connect and handshake; false (with *error) when either fails or the time is up.
    bool Connect(int port, std::chrono::milliseconds timeout, std::string* error = nullptr);
    // The next message; empty when the connection closed or failed or the time is up.
    std::optional<TMessage> Read(std::chrono::milliseconds timeout);

private:
    struct TState;
    std::unique_ptr<TState> state_;
};

}  // namespace fw_test
