#include "sinkfilter/tcp_server_session.h"

#include <boost/asio/buffer.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

#include "sinkfilter/tcp_client_output.h"

namespace sinkfilter {
namespace {

// Asio's own completion conditions hand the socket at most 64 KB per system call, so a 1 MB item took
// sixteen sends and as many turns of the event loop. A write goes out in as few sends as the socket
// buffer allows.
constexpr size_t kMaxBytesPerSend = 64 * 1024 * 1024;

size_t WholeWrite(const boost::system::error_code& ec, size_t) { return ec ? 0 : kMaxBytesPerSend; }

}  // namespace

TTcpServerSession::TTcpServerSession(boost::asio::ip::tcp::socket socket, std::shared_ptr<TSinkQueue> queue,
                                     std::function<std::shared_ptr<TSinkOutputCounters>()> counters,
                                     THostCallback callback)
    : socket_(std::move(socket)),
      pollTimer_(socket_.get_executor()),
      sendDeadline_(socket_.get_executor()),
      queue_(std::move(queue)),
      counters_(std::move(counters)),
      callback_(callback) {}

void TTcpServerSession::Start() {
    WatchPeer();
    // The first item is taken on the loop's next turn: a client that left before it was accepted has
    // its end of file noticed first and takes nothing.
    boost::asio::post(socket_.get_executor(), [self = shared_from_this()] { self->TakeNext(); });
}

void TTcpServerSession::WatchPeer() {
    if (closed_) return;
    // Clients send nothing; a read that ends tells that the client went away.
    socket_.async_read_some(boost::asio::buffer(&peerByte_, 1),
                            [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
                                if (ec) {
                                    self->Close();
                                    return;
                                }
                                self->WatchPeer();
                            });
}

void TTcpServerSession::TakeNext() {
    if (closed_) return;
    inFlight_ = queue_->PopFrontBatch(kMaxItemsPerWrite, kMaxBytesPerWrite);
    if (inFlight_.empty()) {
        pollTimer_.expires_after(kIdlePollMs);
        waiting_ = true;
        pollTimer_.async_wait([self = shared_from_this()](const boost::system::error_code&) {
            self->waiting_ = false;
            self->TakeNext();  // after the time, or woken early by a new item
        });
        return;
    }
    buffers_.clear();
    for (const TSinkQueueItem& item : inFlight_) buffers_.push_back(boost::asio::buffer(item));
    writeStartedAt_ = std::chrono::steady_clock::now();
    if (!deadlineArmed_) ArmDeadline(writeStartedAt_ + kSendTimeoutMs);
    boost::asio::async_write(socket_, buffers_, WholeWrite,
                             [self = shared_from_this()](const boost::system::error_code& ec, size_t written) {
                                 self->OnWritten(ec, written);
                             });
}

void TTcpServerSession::ArmDeadline(std::chrono::steady_clock::time_point at) {
    deadlineArmed_ = true;
    sendDeadline_.expires_at(at);
    sendDeadline_.async_wait([self = shared_from_this()](const boost::system::error_code& ec) {
        self->deadlineArmed_ = false;
        if (!ec) self->OnDeadline();
    });
}

void TTcpServerSession::OnDeadline() {
    if (closed_ || inFlight_.empty()) return;  // idle: the next write arms the deadline again
    const auto due = writeStartedAt_ + kSendTimeoutMs;
    if (std::chrono::steady_clock::now() >= due) {
        Close();  // a stalled client: its write fails and the items go back
        return;
    }
    ArmDeadline(due);  // a later write is in flight: its own deadline counts
}

void TTcpServerSession::OnWritten(const boost::system::error_code& ec, size_t written) {
    // The items that went out whole count as sent; after a failure the rest, from the one it cut
    // short, go back to the head of the queue for the next client.
    size_t sent = 0, sentBytes = 0;
    while (sent < inFlight_.size() && sentBytes + inFlight_[sent].size() <= written)
        sentBytes += inFlight_[sent++].size();
    if (auto counters = counters_()) {
        counters->bytes += static_cast<int64_t>(sentBytes);
        counters->samples += static_cast<int64_t>(sent);
    }
    for (size_t i = 0; i < sent; ++i) {
        if (callback_) callback_(static_cast<int32_t>(inFlight_[i].size()));
        queue_->ReturnSpareBuffer(std::move(inFlight_[i]));
    }
    if (ec) {
        inFlight_.erase(inFlight_.begin(), inFlight_.begin() + static_cast<std::ptrdiff_t>(sent));
        if (!inFlight_.empty()) queue_->PushFront(std::move(inFlight_));
        inFlight_.clear();
        Close();
        return;
    }
    inFlight_.clear();
    TakeNext();
}

void TTcpServerSession::Wake() {
    if (waiting_) pollTimer_.cancel();
}

void TTcpServerSession::Close() {
    if (closed_) return;
    closed_ = true;
    pollTimer_.cancel();
    sendDeadline_.cancel();
    boost::system::error_code ignored;
    socket_.shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
}

}  // namespace sinkfilter
