#include "sinkfilter/tcp_server_output.h"

#include <algorithm>

#include <boost/asio/ip/address_v4.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/socket_base.hpp>

#include "platform/dshow/dshow_log.h"
#include "sinkfilter/websocket_output.h"

namespace sinkfilter {
namespace {
constexpr int kServerSendBufferBytes = 0xFFFFF;
}  // namespace

TTcpServerOutput::TTcpServerOutput(const std::string& address, uint16_t port, std::shared_ptr<TSinkQueue> queue,
                                   THostCallback callback, dshow::TComModule& module)
    : address_(address),
      port_(port),
      queue_(std::move(queue)),
      callback_(callback),
      token_(module),
      acceptor_(io_),
      acceptRetry_(io_) {
    // Before the loop's thread exists: a server that can listen does so when the constructor returns.
    listening_ = Listen();
    if (listening_) DoAccept();
    thread_ = std::thread([this] { io_.run(); });
    queue_->SetPushListener([this] {
        if (!wakePosted_.exchange(true)) boost::asio::post(io_, [this] { WakeSessions(); });
    });
}

TTcpServerOutput::~TTcpServerOutput() {
    queue_->SetPushListener(nullptr);
    boost::asio::post(io_, [this] {
        stopping_ = true;
        boost::system::error_code ignored;
        acceptor_.close(ignored);
        acceptRetry_.cancel();
        for (auto& weak : sessions_)
            if (auto s = weak.lock()) s->Close();
    });
    // Closing aborts every pending operation at once, stalled clients included. The loop still runs
    // their handlers (a write that was under way puts its item back at the head of the queue, for
    // the next client) and then runs out of work, which ends the thread.
    thread_.join();
}

void TTcpServerOutput::WakeSessions() {
    wakePosted_ = false;  // before the sessions look at the queue: a later item posts a new wake-up
    // The first one woken takes what waits, up to a whole write: the clients take turns at being first.
    const size_t count = sessions_.size();
    for (size_t i = 0; i < count; ++i)
        if (auto s = sessions_[(firstToWake_ + i) % count].lock()) s->Wake();
    if (count > 0) firstToWake_ = (firstToWake_ + 1) % count;
}

void TTcpServerOutput::SetCounters(std::shared_ptr<TSinkOutputCounters> counters) {
    std::lock_guard lock(countersMutex_);
    counters_ = std::move(counters);
}

std::shared_ptr<TSinkOutputCounters> TTcpServerOutput::Counters() {
    std::lock_guard lock(countersMutex_);
    return counters_;
}

bool TTcpServerOutput::Listen() {
    namespace ip = boost::asio::ip;
    boost::system::error_code ec;
    const ip::address_v4 address = ip::make_address_v4(address_, ec);
    if (ec) {
        dshow::Log("[Orbelle32] TCP server: invalid address " + address_);
        return false;
    }
    const ip::tcp::endpoint endpoint(address, port_);
    acceptor_.open(endpoint.protocol(), ec);
    if (!ec) acceptor_.set_option(ip::tcp::acceptor::reuse_address(true), ec);
    if (!ec) acceptor_.set_option(boost::asio::socket_base::send_buffer_size(kServerSendBufferBytes), ec);
    if (!ec) acceptor_.bind(endpoint, ec);
    if (!ec) acceptor_.listen(boost::asio::socket_base::max_listen_connections, ec);
    if (!ec) return true;
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    dshow::Log("[Orbelle32] TCP server cannot listen on " + address_ + ":" + std::to_string(port_) + ": " +
               ec.message());
    return false;
}

void TTcpServerOutput::DoAccept() {
    acceptor_.async_accept([this](const boost::system::error_code& ec, boost::asio::ip::tcp::socket socket) {
        if (ec == boost::asio::error::operation_aborted || stopping_) return;
        if (ec) {
            dshow::Log("[Orbelle32] TCP server " + address_ + ":" + std::to_string(port_) + " cannot accept: " +
                       ec.message());
            acceptRetry_.expires_after(kAcceptRetryMs);
            acceptRetry_.async_wait([this](const boost::system::error_code& waited) {
                if (!waited && !stopping_) DoAccept();
            });
            return;
        }
        auto session = std::make_shared<TTcpServerSession>(std::move(socket), queue_, [this] { return Counters(); },
                                                           callback_);
        sessions_.erase(std::remove_if(sessions_.begin(), sessions_.end(),
                                       [](const std::weak_ptr<TTcpServerSession>& w) { return w.expired(); }),
                        sessions_.end());
        sessions_.push_back(session);
        session->Start();
        DoAccept();
    });
}

}  // namespace sinkfilter
