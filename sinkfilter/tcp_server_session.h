// One client of the sink's TCP server: whenever it has no write in flight it takes the first items of
// the shared queue (what is there, up to kMaxItemsPerWrite and kMaxBytesPerWrite) and writes them
// whole, in one write. A write that fails or takes longer than kSendTimeoutMs closes the connection;
// the items it did not finish go back to the head of the queue for the next client. While the queue
// is empty the session waits for Wake (a new item), looking again every kIdlePollMs at the latest.
// Runs on the server's thread only.
//
// The send deadline is one timer per session, not one per item: it is armed when a write starts and
// none is armed, and when it fires it closes the connection only if the write then in flight began
// kSendTimeoutMs ago or more; otherwise it waits for that write's own deadline.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "sinkfilter/host_callback.h"
#include "sinkfilter/output_counters.h"
#include "sinkfilter/sink_queue.h"

namespace sinkfilter {

inline constexpr std::chrono::milliseconds kIdlePollMs{10};
// Items waiting together go out in one write: one system call and one turn of the loop for all.
inline constexpr size_t kMaxItemsPerWrite = 16;
inline constexpr size_t kMaxBytesPerWrite = 4 * 1024 * 1024;

class TTcpServerSession : public std::enable_shared_from_this<TTcpServerSession> {
public:
    // `counters` is asked for the current activation's counters at each write.
    TTcpServerSession(boost::asio::ip::tcp::socket socket, std::shared_ptr<TSinkQueue> queue,
                      std::function<std::shared_ptr<TSinkOutputCounters>()> counters, THostCallback callback);

    void Start();
    void Close();
    void Wake();

private:
    void WatchPeer();
    void TakeNext();
    void OnWritten(const boost::system::error_code& ec, size_t written);
    void ArmDeadline(std::chrono::steady_clock::time_point at);
    void OnDeadline();

    boost::asio::ip::tcp::socket socket_;
    boost::asio::steady_timer pollTimer_;
    boost::asio::steady_timer sendDeadline_;
    std::shared_ptr<TSinkQueue> queue_;
    std::function<std::shared_ptr<TSinkOutputCounters>()> counters_;
    THostCallback callback_;
    std::vector<TSinkQueueItem> inFlight_;
    std::vector<boost::asio::const_buffer> buffers_;  // of inFlight_, for the write
    std::chrono::steady_clock::time_point writeStartedAt_{};
    bool deadlineArmed_ = false;
    char peerByte_ = 0;
    bool closed_ = false;
    bool waiting_ = false;
};

}  // namespace sinkfilter
