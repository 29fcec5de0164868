// The event loop of one sender thread: every socket of the sender lives on it and is touched only on
// that thread. The sender's pauses run the loop (so web-socket handshakes and writes progress while it
// waits), and a stop request from any thread ends every pause and wait at once.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>

namespace sinkfilter {

class TSenderIo {
public:
    TSenderIo();
    TSenderIo(const TSenderIo&) = delete;
    TSenderIo& operator=(const TSenderIo&) = delete;

    boost::asio::io_context& Context() { return io_; }

    // Any thread.
    void RequestStop();
    bool StopRequested() const { return stop_.load(); }

    // Runs handlers for the given time; false (at once) once a stop was requested.
    bool Pause(std::chrono::milliseconds duration);
    // Runs handlers until done() holds, the time is up or a stop was requested; answers done().
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    boost::asio::io_context io_;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_;
    std::atomic<bool> stop_{false};
};

}  // namespace sinkfilter
