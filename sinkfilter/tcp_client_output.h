// A TCP connection to address:port, opened (again) whenever it is not there, written chunk by chunk.
// Connects and writes are bounded in time and end at once when the sender is asked to stop.
#pragma once

#include <string>

#include <boost/asio/ip/tcp.hpp>

#include "sinkfilter/sender_io.h"
#include "sinkfilter/sink_output.h"

namespace sinkfilter {

inline constexpr std::chrono::milliseconds kConnectTimeoutMs{2000};
inline constexpr std::chrono::milliseconds kSendTimeoutMs{5000};

class TTcpClientOutput final : public TSinkOutput {
public:
    TTcpClientOutput(TSenderIo& io, const std::string& address, uint16_t port, size_t chunkSize);
    ~TTcpClientOutput() override;

    // Not connected: tries once and answers NotReady, so the queue is emptied in that turn.
    TOutputState Prepare() override;
    bool SendChunk(const uint8_t* data, size_t size) override;
    size_t PayloadPerChunk() const override { return chunkSize_; }

private:
    void Close();

    TSenderIo& io_;
    boost::asio::ip::tcp::socket socket_;
    boost::asio::ip::tcp::endpoint server_;
    bool addressValid_ = false;
    bool connected_ = false;
    size_t chunkSize_;
};

}  // namespace sinkfilter
