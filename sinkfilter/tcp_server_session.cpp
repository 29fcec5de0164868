#include "sinkfilter/tcp_server_session.h"

#include <boost/asio/buffer.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

#include "sinkfilter/tcp_client_output.h"

namespace sinkfilter {
namespace {

// Asio's own completion conditions hand the socket at most 64 KB per system call, so a 1 MB item took
// sixteen sends and as many turns of the event loop. The item goes out in as few sends as the socket
// buffer allows.
constexpr size_t kMaxBytesPerSend = 64 * 1024 * 1024;

size_t WholeItem(const boost::system::error_code& ec, size_t) { return ec ? 0 : kMaxBytesPerSend; }

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
    inFlight_ = queue_->PopFront();
    if (!inFlight_) {
        pollTimer_.expires_after(kIdlePollMs);
        waiting_ = true;
        pollTimer_.async_wait([self = shared_from_this()](const boost::system::error_code&) {
            self->waiting_ = false;
            self->TakeNext();  // after the time, or woken early by a new item
        });
        return;
    }
    writeStartedAt_ = std::chrono::steady_clock::now();
    if (!deadlineArmed_) ArmDeadline(writeStartedAt_ + kSendTimeoutMs);
    boost::asio::async_write(socket_, boost::asio::buffer(*inFlight_), WholeItem,
                             [self = shared_from_this()](const boost::system::error_code& ec, size_t) {
                                 self->OnWritten(ec);
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
    if (closed_ || !inFlight_) return;  // idle: the next write arms the deadline again
    const auto due = writeStartedAt_ + kSendTimeoutMs;
    if (std::chrono::steady_clock::now() >= due) {
        Close();  // a stalled client: its write fails and the item goes back
        return;
    }
    ArmDeadline(due);  // a later write is in flight: its own deadline counts
}

void TTcpServerSession::OnWritten(const boost::system::error_code& ec) {
    if (ec) {
        queue_->PushFront(std::move(*inFlight_));
        inFlight_.reset();
        Close();
        return;
    }
    const size_t size = inFlight_->size();
    inFlight_.reset();
    if (auto counters = counters_()) {
        counters->bytes += static_cast<int64_t>(size);
        counters->samples += 1;
    }
    if (callback_) callback_(static_cast<int32_t>(size));
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
