#include "tests/engine/graphs/WebSocketTestClient.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

namespace fw_test {

namespace beast = boost::beast;
namespace asio = boost::asio;
using tcp = asio::ip::tcp;

struct TWebSocketTestClient::TState {
    asio::io_context io;
    beast::websocket::stream<beast::tcp_stream> ws{io};
    beast::flat_buffer buffer;

    // Runs the io context until the pending operation finished or the time is up (then it is cancelled).
    bool RunFor(std::chrono::milliseconds timeout, const bool& done) {
        io.restart();
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done && std::chrono::steady_clock::now() < deadline) io.run_one_for(deadline - std::chrono::steady_clock::now());
        if (done) return true;
        beast::get_lowest_layer(ws).cancel();
        io.restart();
        io.run_for(std::chrono::milliseconds(500));
        return false;
    }
};

TWebSocketTestClient::TWebSocketTestClient() : state_(std::make_unique<TState>()) {}
TWebSocketTestClient::~TWebSocketTestClient() = default;

bool TWebSocketTestClient::Connect(int port, std::chrono::milliseconds timeout, std::string* error) {
    beast::error_code result;
    bool done = false;
    const tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port));
    beast::get_lowest_layer(state_->ws).async_connect(endpoint, [&](beast::error_code ec) {
        if (ec) {
            result = ec;
            done = true;
            return;
        }
        state_->ws.async_handshake("127.0.0.1:" + std::to_string(port), "/", [&](beast::error_code hs) {
            result = hs;
            done = true;
        });
    });
    if (!state_->RunFor(timeout, done)) {
        if (error) *error = "timed out";
        return false;
    }
    if (result && error) *error = result.message();
    return !result;
}

std::optional<TWebSocketTestClient::TMessage> TWebSocketTestClient::Read(std::chrono::milliseconds timeout) {
    beast::error_code result;
    bool done = false;
    state_->buffer.clear();
    state_->ws.async_read(state_->buffer, [&](beast::error_code ec, std::size_t) {
        result = ec;
        done = true;
    });
    if (!state_->RunFor(timeout, done) || result) return std::nullopt;
    TMessage message;
    message.Binary = state_->ws.got_binary();
    const auto data = state_->buffer.cdata();
    const auto* bytes = static_cast<const uint8_t*>(data.data());
    message.Bytes.assign(bytes, bytes + data.size());
    return message;
}

}  // namespace fw_test
