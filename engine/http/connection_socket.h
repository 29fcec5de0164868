// The socket of one client connection, read and written by its own connection thread with plain
// system calls: a call that would block waits in poll() until the socket is ready or the deadline
// passes (beast::error::timeout). Another thread may Abort at any time; whatever wait is in progress
// then ends with operation_aborted, and so does every later call. Meets Beast's SyncReadStream and
// SyncWriteStream, so http::read and http::write work on it directly.
#pragma once

#include <sys/uio.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include <boost/asio/buffer.hpp>
#include <boost/system/error_code.hpp>
#include <boost/system/system_error.hpp>

namespace engine {

class TConnectionSocket {
public:
    using Clock = std::chrono::steady_clock;

    // Takes over the descriptor (made non-blocking here); closes it when destroyed.
    explicit TConnectionSocket(int fd);
    ~TConnectionSocket();
    TConnectionSocket(const TConnectionSocket&) = delete;
    TConnectionSocket& operator=(const TConnectionSocket&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Dotted address and port of the client; empty and 0 when unknown.
    std::string PeerAddress() const { return peerAddress_; }
    uint16_t PeerPort() const { return peerPort_; }

    // Every wait of the following calls ends at this time.
    void SetDeadline(Clock::time_point deadline) { deadline_ = deadline; }
    // Thread-safe: ends the current wait and every later call.
    void Abort();
    // While set, what is written waits in the socket for what follows (a header for its file body)
    // instead of going out as a packet of its own.
    void SetMoreToFollow(bool more) { moreToFollow_ = more; }
    // Sends what is still queued and ends the connection.
    void ShutdownAndClose();

    template <class MutableBufferSequence>
    size_t read_some(const MutableBufferSequence& buffers, boost::system::error_code& ec) {
        TIoVector v = Gather(buffers);
        return Transfer(v, false, ec);
    }
    template <class MutableBufferSequence>
    size_t read_some(const MutableBufferSequence& buffers) {
        boost::system::error_code ec;
        size_t n = read_some(buffers, ec);
        if (ec) throw boost::system::system_error(ec);
        return n;
    }
    template <class ConstBufferSequence>
    size_t write_some(const ConstBufferSequence& buffers, boost::system::error_code& ec) {
        TIoVector v = Gather(buffers);
        return Transfer(v, true, ec);
    }
    template <class ConstBufferSequence>
    size_t write_some(const ConstBufferSequence& buffers) {
        boost::system::error_code ec;
        size_t n = write_some(buffers, ec);
        if (ec) throw boost::system::system_error(ec);
        return n;
    }

    // Sends up to count bytes of fileFd from offset straight from the page cache; the bytes sent
    // (0: the file has no more), or 0 with ec set.
    size_t SendFile(int fileFd, uint64_t offset, size_t count, boost::system::error_code& ec);

private:
    static constexpr int kMaxIoVectors = 16;
    struct TIoVector {
        iovec Parts[kMaxIoVectors];
        int Count = 0;
        size_t Bytes = 0;
    };
    template <class BufferSequence>
    static TIoVector Gather(const BufferSequence& buffers) {
        TIoVector v;
        for (auto it = boost::asio::buffer_sequence_begin(buffers);
             it != boost::asio::buffer_sequence_end(buffers) && v.Count < kMaxIoVectors; ++it) {
            boost::asio::const_buffer b(*it);
            if (b.size() == 0) continue;
            v.Parts[v.Count++] = iovec{const_cast<void*>(b.data()), b.size()};
            v.Bytes += b.size();
        }
        return v;
    }

    size_t Transfer(TIoVector& v, bool sending, boost::system::error_code& ec);
    // Waits until the socket can be read (or written); false with ec set on a time-out or an abort.
    bool WaitReady(bool forWriting, boost::system::error_code& ec);

    int fd_ = -1;
    std::string peerAddress_;
    uint16_t peerPort_ = 0;
    Clock::time_point deadline_ = Clock::time_point::max();
    bool moreToFollow_ = false;
    std::atomic<bool> aborted_{false};
    std::mutex closeMutex_;  // Abort never touches a descriptor that was closed (and maybe reused)
};

}  // namespace engine
