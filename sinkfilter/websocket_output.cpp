#include "sinkfilter/websocket_output.h"

#include <algorithm>

#include <boost/asio/ip/address_v4.hpp>

#include "platform/dshow/dshow_log.h"

namespace sinkfilter {

TWebSocketOutput::TWebSocketOutput(TSenderIo& io, const std::string& address, uint16_t port, size_t chunkSize)
    : io_(io), address_(address), port_(port), chunkSize_(chunkSize), acceptor_(io.Context()), acceptRetry_(io.Context()) {}

TWebSocketOutput::~TWebSocketOutput() {
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    acceptRetry_.cancel();
    for (auto& weak : sessions_)
        if (auto s = weak.lock()) s->Close();
}

bool TWebSocketOutput::Listen(boost::system::error_code& ec) {
    namespace ip = boost::asio::ip;
    const ip::address_v4 address = ip::make_address_v4(address_, ec);
    if (ec) return false;
    const ip::tcp::endpoint endpoint(address, port_);
    acceptor_.open(endpoint.protocol(), ec);
    if (!ec) acceptor_.set_option(ip::tcp::acceptor::reuse_address(true), ec);
    if (!ec) acceptor_.bind(endpoint, ec);
    if (!ec) acceptor_.listen(boost::asio::socket_base::max_listen_connections, ec);
    if (ec) {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
        return false;
    }
    return true;
}

TOutputState TWebSocketOutput::Prepare() {
    if (listening_) return TOutputState::Ready;
    boost::system::error_code ec;
    if (Listen(ec)) {
        listening_ = true;
        DoAccept();
        return TOutputState::Ready;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!firstListenFailure_) firstListenFailure_ = now;
    if (now - *firstListenFailure_ < kListenRetryMs) return TOutputState::NotReady;
    dshow::Log("[Orbelle32] web-socket server cannot listen on " + address_ + ":" + std::to_string(port_) + ": " +
               ec.message());
    return TOutputState::Failed;
}

void TWebSocketOutput::DoAccept() {
    acceptor_.async_accept([this](const boost::system::error_code& ec, boost::asio::ip::tcp::socket socket) {
        if (ec == boost::asio::error::operation_aborted) return;  // the server closes
        if (ec) {
            // Out of descriptors or the like: try again a little later instead of spinning.
            dshow::Log("[Orbelle32] web-socket server " + address_ + ":" + std::to_string(port_) +
                       " cannot accept: " + ec.message());
            acceptRetry_.expires_after(kAcceptRetryMs);
            acceptRetry_.async_wait([this](const boost::system::error_code& waited) {
                if (!waited) DoAccept();
            });
            return;
        }
        {
            auto session = std::make_shared<TWebSocketSession>(std::move(socket));
            session->Start();
            sessions_.erase(std::remove_if(sessions_.begin(), sessions_.end(),
                                           [](const std::weak_ptr<TWebSocketSession>& w) { return w.expired(); }),
                            sessions_.end());
            sessions_.push_back(session);
        }
        DoAccept();
    });
}

bool TWebSocketOutput::SendChunk(const uint8_t* data, size_t size) {
    if (!listening_) return false;
    TSharedMessage message;
    for (auto& weak : sessions_) {
        auto session = weak.lock();
        if (!session || !session->IsOpen()) continue;
        if (!message) message = std::make_shared<const std::vector<uint8_t>>(data, data + size);
        session->Send(message);
    }
    return true;
}

}  // namespace sinkfilter
