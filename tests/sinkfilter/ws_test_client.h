// A web-socket client for tests (Boost.Beast), every call bounded in time.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/websocket/stream.hpp>

namespace fw_test {

class TWsTestClient {
public:
    // Connects and completes the handshake, retrying until the time is up.
    bool Connect(int port, std::chrono::milliseconds timeout);
    // One binary message; empty on time-out or a closed connection. A read that timed out stays under
    // way: the next call waits on for the same message.
    std::optional<std::vector<uint8_t>> Read(std::chrono::milliseconds timeout);
    void Close();

private:
    bool RunFor(const bool& done, std::chrono::milliseconds timeout);

    boost::asio::io_context io_;
    std::optional<boost::beast::websocket::stream<boost::asio::ip::tcp::socket>> ws_;
    // The read under way, shared with its handler (which may outlive a closed stream).
    struct TPendingRead {
        boost::beast::flat_buffer buffer;
        boost::system::error_code ec;
        bool done = false;
    };
    std::shared_ptr<TPendingRead> read_;
};

}  // namespace fw_test
