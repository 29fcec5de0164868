// One web-socket client of the sink's server: the handshake, then binary messages out, one write in
// flight, the client's own frames read and dropped (that keeps pings and close working). A client
// whose queue of unsent messages reaches kMaxQueuedMessagesPerClient is too slow for live media and
// is closed. Lives as long as its pending operations; runs on the sender's thread only.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/websocket/stream.hpp>

namespace sinkfilter {

inline constexpr size_t kMaxQueuedMessagesPerClient = 64;
// The clients send nothing worth keeping; anything bigger closes the connection.
inline constexpr size_t kMaxClientMessageBytes = 64 * 1024;

using TSharedMessage = std::shared_ptr<const std::vector<uint8_t>>;

class TWebSocketSession : public std::enable_shared_from_this<TWebSocketSession> {
public:
    explicit TWebSocketSession(boost::asio::ip::tcp::socket socket);

    void Start();
    // Queues one binary message (shared by every client); ignored before the handshake is done.
    void Send(const TSharedMessage& message);
    void Close();
    bool IsOpen() const { return open_; }

private:
    void OnAccept(const boost::system::error_code& ec);
    void DoRead();
    void DoWrite();

    boost::beast::websocket::stream<boost::beast::tcp_stream> ws_;
    boost::beast::flat_buffer readBuffer_;
    std::deque<TSharedMessage> queue_;
    std::string peer_;
    bool open_ = false;
    bool closed_ = false;
    bool writing_ = false;
};

}  // namespace sinkfilter
