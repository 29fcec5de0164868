#include "tests/sinkfilter/ws_test_client.h"

#include <thread>

#include <boost/asio/connect.hpp>
#include <boost/beast/core/flat_buffer.hpp>

namespace fw_test {

namespace websocket = boost::beast::websocket;
using boost::asio::ip::tcp;

bool TWsTestClient::RunFor(const bool& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    io_.restart();
    while (!done && std::chrono::steady_clock::now() < deadline) io_.run_one_for(std::chrono::milliseconds(20));
    if (!done && ws_) {
        boost::system::error_code ignored;
        ws_->next_layer().close(ignored);
        io_.restart();
        while (!done) io_.run_one_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool TWsTestClient::Connect(int port, std::chrono::milliseconds timeout) {
    read_.reset();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        ws_.emplace(io_);
        boost::system::error_code ec;
        ws_->next_layer().connect(tcp::endpoint(boost::asio::ip::make_address_v4("127.0.0.1"), port), ec);
        if (!ec) {
            bool done = false;
            ws_->async_handshake("127.0.0.1", "/", [&](const boost::system::error_code& e) {
                ec = e;
                done = true;
            });
            RunFor(done, std::chrono::seconds(2));
            if (!ec) {
                ws_->binary(true);
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ws_.reset();
    return false;
}

std::optional<std::vector<uint8_t>> TWsTestClient::Read(std::chrono::milliseconds timeout) {
    if (!ws_) return std::nullopt;
    if (!read_) {
        read_ = std::make_shared<TPendingRead>();
        ws_->async_read(read_->buffer, [read = read_](const boost::system::error_code& e, size_t) {
            read->ec = e;
            read->done = true;
        });
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    io_.restart();
    while (!read_->done && std::chrono::steady_clock::now() < deadline) io_.run_one_for(std::chrono::milliseconds(20));
    if (!read_->done) return std::nullopt;
    const std::shared_ptr<TPendingRead> read = std::move(read_);
    if (read->ec) {
        ws_.reset();
        return std::nullopt;
    }
    const auto data = read->buffer.cdata();
    const auto* p = static_cast<const uint8_t*>(data.data());
    return std::vector<uint8_t>(p, p + data.size());
}

void TWsTestClient::Close() {
    if (!ws_) return;
    boost::system::error_code ignored;
    ws_->next_layer().close(ignored);
    // A read under way ends now, with its handler, before the stream goes.
    io_.restart();
    while (read_ && !read_->done) io_.run_one_for(std::chrono::milliseconds(20));
    read_.reset();
    ws_.reset();
}

}  // namespace fw_test
