// The web-socket server of the sender: listens on address:port from the sender's first turn and sends
// each chunk as one binary message to every connected client. Listening is retried for a while (the
// sender of an earlier activation may still be letting go of the port); then the failure is logged
// and the sender ends.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "sinkfilter/sender_io.h"
#include "sinkfilter/sink_output.h"
#include "sinkfilter/websocket_session.h"

namespace sinkfilter {

inline constexpr std::chrono::milliseconds kListenRetryMs{3000};
inline constexpr std::chrono::milliseconds kAcceptRetryMs{100};

class TWebSocketOutput final : public TSinkOutput {
public:
    TWebSocketOutput(TSenderIo& io, const std::string& address, uint16_t port, size_t chunkSize);
    ~TWebSocketOutput() override;

    TOutputState Prepare() override;
    bool SendChunk(const uint8_t* data, size_t size) override;
    size_t PayloadPerChunk() const override { return chunkSize_; }

private:
    bool Listen(boost::system::error_code& ec);
    void DoAccept();

    TSenderIo& io_;
    std::string address_;
    uint16_t port_;
    size_t chunkSize_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::steady_timer acceptRetry_;
    bool listening_ = false;
    std::optional<std::chrono::steady_clock::time_point> firstListenFailure_;
    std::vector<std::weak_ptr<TWebSocketSession>> sessions_;
};

}  // namespace sinkfilter
