// The sink's TCP server: listens on address:port once it is made (the reader may connect
// before the graph runs, and that connection is kept), on a thread of its own. Every connected client
// takes whole items from the shared queue, each item going to exactly one client. Listening is tried
// once, in the constructor: a port that is taken is logged at once and the server stays silent, so the
// host can learn right away (Listening) that the port is not the sink's and take another. Destruction
// closes the listener and every connection and waits for the thread, so the port is free again when
// the destructor returns; an item that was being written then goes back to the head of the queue.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "platform/dshow/class_factory.h"
#include "sinkfilter/host_callback.h"
#include "sinkfilter/output_counters.h"
#include "sinkfilter/sink_queue.h"
#include "sinkfilter/tcp_server_session.h"

namespace sinkfilter {

class TTcpServerOutput {
public:
    TTcpServerOutput(const std::string& address, uint16_t port, std::shared_ptr<TSinkQueue> queue,
                     THostCallback callback, dshow::TComModule& module);
    ~TTcpServerOutput();
    TTcpServerOutput(const TTcpServerOutput&) = delete;
    TTcpServerOutput& operator=(const TTcpServerOutput&) = delete;

    const std::string& Address() const { return address_; }
    uint16_t Port() const { return port_; }
    // Whether the constructor's attempt to listen succeeded.
    bool Listening() const { return listening_; }
    // The counters the next writes add to (those of the current activation).
    void SetCounters(std::shared_ptr<TSinkOutputCounters> counters);

private:
    // Binds and listens; false (logged) when the port cannot be had.
    bool Listen();
    void DoAccept();
    // A new item: idle connections take it at once.
    void WakeSessions();
    std::shared_ptr<TSinkOutputCounters> Counters();

    std::string address_;
    uint16_t port_;
    std::shared_ptr<TSinkQueue> queue_;
    THostCallback callback_;
    dshow::TComModule::TObjectToken token_;

    // At most one wake-up waits in the loop: items that arrive meanwhile are found by the same one.
    std::atomic<bool> wakePosted_{false};

    std::mutex countersMutex_;
    std::shared_ptr<TSinkOutputCounters> counters_;

    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::steady_timer acceptRetry_;
    bool listening_ = false;
    bool stopping_ = false;  // set on the loop by the destructor: no accept starts again
    std::vector<std::weak_ptr<TTcpServerSession>> sessions_;
    size_t firstToWake_ = 0;  // of sessions_
    std::thread thread_;
};

}  // namespace sinkfilter
