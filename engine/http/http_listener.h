// The listening socket of one web server and its accept thread. Each accepted connection becomes a
// job of the server's connection-thread pool; one that gets no thread there is closed at once, and the
// server goes on listening. While the process has no descriptor for a new connection, accepting is
// retried every kAcceptRetryDelayMs; the connections wait in the listening queue meanwhile. The listener
// looks for the end of such a shortage itself, so that it is found whether or not a client connects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <chrono>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "engine/http/connection_thread_pool.h"

namespace engine {

struct TListenFailure {
    std::string Kind;     // the step that failed: "address", "open", "bind", "listen"
    std::string Message;  // the system's text
};

class THttpListener {
public:
    // Makes the job for an accepted socket descriptor (the job owns it from then on).
    using TJobFactory = std::function<std::shared_ptr<IConnectionJob>(int socketFd)>;
    // A line for the server's log (accept failures); called on the accept thread.
    using TLogFunction = std::function<void(const std::string&)>;

    static constexpr int kAcceptRetryDelayMs = 100;
    // While descriptors are short the listener tries this often to get one; the shortage is over once
    // neither a try nor an accept has failed for want of one for kShortageSettleMs.
    static constexpr int kShortageProbeMs = 250;
    static constexpr int kShortageSettleMs = 1000;

    THttpListener(TConnectionThreadPool& pool, TJobFactory makeJob, TLogFunction log);
    ~THttpListener();
    THttpListener(const THttpListener&) = delete;
    THttpListener& operator=(const THttpListener&) = delete;

    // Binds address:port (dotted IPv4 text) exclusively and starts accepting. False with failure set
    // when the address is not local, the port is taken, or the socket or its thread cannot be made.
    bool Start(const std::string& address, uint16_t port, TListenFailure& failure);
    // Stops accepting and closes the listening socket; open connections are the pool's.
    void Stop();
    bool IsListening() const { return thread_.joinable(); }

private:
    void AcceptNext();
    // Hands the connection to the pool; a shortage of threads is logged once when it begins and
    // once when it ends, with the number of connections closed meanwhile.
    void Dispatch(int socketFd);
    // Accepting failed for want of a descriptor: logs the shortage when it begins and starts looking for its end.
    void NoteDescriptorShortage(const boost::system::error_code& ec);
    // Tries to get a descriptor every kShortageProbeMs and logs the end of the shortage once it has settled.
    void ProbeShortageEnd();

    TConnectionThreadPool& pool_;
    TJobFactory makeJob_;
    TLogFunction log_;
    boost::asio::io_context ioc_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::steady_timer retryTimer_;
    boost::asio::steady_timer probeTimer_;
    std::thread thread_;
    size_t closedForWantOfThreads_ = 0;  // in the shortage going on; touched by the accept thread only
    // While descriptors are short: when an accept or a try last failed for want of one (the shortage is
    // logged once when it begins and once when it ends); touched by the accept thread only.
    std::optional<std::chrono::steady_clock::time_point> descriptorLastMissing_;
};

}  // namespace engine
