#include "sinkfilter/tcp_client_output.h"

#include <boost/asio/buffer.hpp>
#include <boost/asio/ip/address_v4.hpp>
#include <boost/asio/write.hpp>

#include "platform/dshow/dshow_log.h"

namespace sinkfilter {

TTcpClientOutput::TTcpClientOutput(TSenderIo& io, const std::string& address, uint16_t port, size_t chunkSize)
    : io_(io), socket_(io.Context()), chunkSize_(chunkSize) {
    boost::system::error_code ec;
    const auto target = boost::asio::ip::make_address_v4(address, ec);
    addressValid_ = !ec;
    if (addressValid_) server_ = boost::asio::ip::tcp::endpoint(target, port);
    else dshow::Log("[Orbelle32] TCP client: invalid address " + address);
}

TTcpClientOutput::~TTcpClientOutput() { Close(); }

void TTcpClientOutput::Close() {
    boost::system::error_code ignored;
    socket_.shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    connected_ = false;
}

TOutputState TTcpClientOutput::Prepare() {
    if (connected_) return TOutputState::Ready;
    if (!addressValid_) return TOutputState::NotReady;
    Close();
    bool done = false;
    boost::system::error_code result;
    socket_.async_connect(server_, [&](const boost::system::error_code& ec) {
        result = ec;
        done = true;
    });
    if (!io_.RunUntil([&] { return done; }, kConnectTimeoutMs)) {
        // Timed out or stopping: closing cancels the attempt. When stopping, the loop runs no handler
        // any more, so the one that refers to `done` is only ever destroyed, never called.
        boost::system::error_code ignored;
        socket_.close(ignored);
        io_.RunUntil([&] { return done; }, kConnectTimeoutMs);
        return TOutputState::NotReady;
    }
    connected_ = !result;
    return TOutputState::NotReady;
}

bool TTcpClientOutput::SendChunk(const uint8_t* data, size_t size) {
    if (!connected_) return false;
    bool done = false;
    boost::system::error_code result;
    boost::asio::async_write(socket_, boost::asio::buffer(data, size),
                             [&](const boost::system::error_code& ec, size_t) {
                                 result = ec;
                                 done = true;
                             });
    if (!io_.RunUntil([&] { return done; }, kSendTimeoutMs)) {
        Close();
        io_.RunUntil([&] { return done; }, kSendTimeoutMs);
        return false;
    }
    if (result) {
        Close();
        return false;
    }
    return true;
}

}  // namespace sinkfilter
