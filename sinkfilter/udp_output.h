// UDP datagrams to address:port from a socket bound to an ephemeral port, plain or behind the RTP
// header (then each datagram is the chunk size, 12 header bytes included).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <boost/asio/ip/udp.hpp>

#include "sinkfilter/sender_io.h"
#include "sinkfilter/sink_clock.h"
#include "sinkfilter/sink_output.h"

namespace sinkfilter {

struct TRtpFraming {
    int32_t payloadType;
};

class TUdpOutput final : public TSinkOutput {
public:
    TUdpOutput(TSenderIo& io, const std::string& address, uint16_t port, size_t chunkSize,
               std::optional<TRtpFraming> rtp, std::shared_ptr<ISinkClock> clock);

    TOutputState Prepare() override;
    bool SendChunk(const uint8_t* data, size_t size) override;
    size_t PayloadPerChunk() const override;

private:
    boost::asio::ip::udp::socket socket_;
    boost::asio::ip::udp::endpoint destination_;
    bool open_ = false;
    size_t chunkSize_;
    std::optional<TRtpFraming> rtp_;
    std::shared_ptr<ISinkClock> clock_;
    uint16_t rtpSequence_ = 0;
    uint32_t rtpSsrc_ = 0;
    std::vector<uint8_t> rtpDatagram_;  // reused for every datagram
};

}  // namespace sinkfilter
