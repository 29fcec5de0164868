#include "sinkfilter/websocket_session.h"

#include <boost/asio/buffer.hpp>
#include <boost/beast/core/role.hpp>
#include <boost/beast/http/error.hpp>

#include "platform/dshow/dshow_log.h"

namespace sinkfilter {

namespace beast = boost::beast;
namespace websocket = boost::beast::websocket;

TWebSocketSession::TWebSocketSession(boost::asio::ip::tcp::socket socket) : ws_(std::move(socket)) {
    boost::system::error_code ec;
    const auto remote = beast::get_lowest_layer(ws_).socket().remote_endpoint(ec);
    peer_ = ec ? std::string("?") : remote.address().to_string() + ":" + std::to_string(remote.port());
}

void TWebSocketSession::Start() {
    // The web-socket stream keeps its own time-outs (handshake, idle with keep-alive pings).
    beast::get_lowest_layer(ws_).expires_never();
    ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    ws_.read_message_max(kMaxClientMessageBytes);
    ws_.binary(true);
    ws_.async_accept([self = shared_from_this()](const boost::system::error_code& ec) { self->OnAccept(ec); });
}

void TWebSocketSession::OnAccept(const boost::system::error_code& ec) {
    if (ec) {
        // A client that leaves before its handshake is no error worth a line.
        const bool left = ec == websocket::error::closed || ec == boost::asio::error::eof ||
                          ec == boost::asio::error::connection_reset || ec == boost::beast::http::error::end_of_stream;
        if (!closed_ && !left) dshow::Log("[Orbelle32] web-socket handshake with " + peer_ + " failed: " + ec.message());
        Close();
        return;
    }
    open_ = !closed_;
    if (open_) DoRead();
}

void TWebSocketSession::DoRead() {
    ws_.async_read(readBuffer_, [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
        if (ec) {
            self->Close();
            return;
        }
        self->readBuffer_.consume(self->readBuffer_.size());
        self->DoRead();
    });
}

void TWebSocketSession::Send(const TSharedMessage& message) {
    if (!open_ || closed_) return;
    if (queue_.size() >= kMaxQueuedMessagesPerClient) {
        dshow::Log("[Orbelle32] web-socket client " + peer_ + " does not keep up, closed");
        Close();
        return;
    }
    queue_.push_back(message);
    if (!writing_) DoWrite();
}

void TWebSocketSession::DoWrite() {
    writing_ = true;
    // The handler holds the message it wrote: Close empties the queue, perhaps while this write's
    // completion already waits in the loop.
    const TSharedMessage message = queue_.front();
    ws_.async_write(boost::asio::buffer(*message),
                    [self = shared_from_this(), message](const boost::system::error_code& ec, size_t) {
                        self->writing_ = false;
                        if (ec || self->closed_) {
                            self->Close();
                            return;
                        }
                        self->queue_.pop_front();
                        if (!self->queue_.empty()) self->DoWrite();
                    });
}

void TWebSocketSession::Close() {
    if (closed_) return;
    closed_ = true;
    open_ = false;
    queue_.clear();
    boost::system::error_code ignored;
    beast::get_lowest_layer(ws_).socket().shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
    beast::get_lowest_layer(ws_).socket().close(ignored);
}

}  // namespace sinkfilter
