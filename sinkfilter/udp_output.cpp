#include "sinkfilter/udp_output.h"

#include <sys/socket.h>

#include <cstring>

#include <boost/asio/buffer.hpp>
#include <boost/asio/ip/address_v4.hpp>
#include <boost/asio/socket_base.hpp>

#include "platform/dshow/dshow_log.h"
#include "sinkfilter/rtp_header.h"
#include "sinkfilter/sink_settings.h"

namespace sinkfilter {
namespace {
constexpr int kUdpSendBufferBytes = 0xFFFFF;
}

TUdpOutput::TUdpOutput(TSenderIo& io, const std::string& address, uint16_t port, size_t chunkSize,
                       std::optional<TRtpFraming> rtp, std::shared_ptr<ISinkClock> clock)
    : socket_(io.Context()), chunkSize_(chunkSize), rtp_(rtp), clock_(std::move(clock)) {
    namespace ip = boost::asio::ip;
    boost::system::error_code ec;
    const ip::address_v4 target = ip::make_address_v4(address, ec);
    if (!ec) destination_ = ip::udp::endpoint(target, port);
    if (!ec) socket_.open(ip::udp::v4(), ec);
    if (!ec) socket_.bind(ip::udp::endpoint(ip::address_v4::any(), 0), ec);
    if (ec) {
        dshow::Log("[Orbelle32] UDP output to " + address + ":" + std::to_string(port) + " unusable: " + ec.message());
        return;
    }
    boost::system::error_code ignored;
    socket_.set_option(boost::asio::socket_base::send_buffer_size(kUdpSendBufferBytes), ignored);
    open_ = true;
    if (rtp_) {
        rtpSsrc_ = MakeRtpSsrc(clock_->TickMs(), reinterpret_cast<uintptr_t>(this));
        rtpDatagram_.resize(chunkSize_);
    }
}

TOutputState TUdpOutput::Prepare() { return open_ ? TOutputState::Ready : TOutputState::NotReady; }

size_t TUdpOutput::PayloadPerChunk() const { return rtp_ ? chunkSize_ - kRtpHeaderBytes : chunkSize_; }

bool TUdpOutput::SendChunk(const uint8_t* data, size_t size) {
    if (!open_) return false;
    boost::system::error_code ec;
    if (!rtp_) {
        socket_.send_to(boost::asio::buffer(data, size), destination_, 0, ec);
        return !ec;
    }
    const TRtpHeader header = BuildRtpHeader(rtp_->payloadType, rtpSequence_++, clock_->TickMs(), rtpSsrc_);
    std::memcpy(rtpDatagram_.data(), header.data(), header.size());
    std::memcpy(rtpDatagram_.data() + header.size(), data, size);
    socket_.send_to(boost::asio::buffer(rtpDatagram_.data(), header.size() + size), destination_, 0, ec);
    return !ec;
}

}  // namespace sinkfilter
