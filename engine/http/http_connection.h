// One client connection on its own connection thread: reads requests with Beast, hands each to the
// server's request handler and writes the reply, keeping the connection open while both sides want it.
// The connection has an I/O context of its own, so every read and write is bounded in time and an
// abort from another thread (the server stopping) ends whatever wait is in progress.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>

#include "engine/http/connection_thread_pool.h"
#include "engine/http/http_connection_limits.h"
#include "engine/http/http_reply.h"

namespace engine {

class THttpConnection : public IConnectionJob {
public:
    // Takes over the accepted socket's descriptor.
    THttpConnection(int socketFd, std::shared_ptr<IHttpRequestHandler> handler, THttpConnectionLimits limits);
    ~THttpConnection() override;

    void Run() override;
    void Abort() override;

private:
    enum class TReadOutcome { Request, Closed, Refused };

    // Runs the I/O context until the operation started before it has completed (or was aborted).
    boost::system::error_code Complete(const bool& done, const boost::system::error_code& result);
    TReadOutcome ReadRequest(THttpRequest& request);
    bool WriteSimpleReply(THttpReply& reply, const THttpRequest* request);
    bool WriteFileReply(THttpReply& reply, const THttpRequest& request);
    bool WriteSmallFileReply(THttpReply& reply, const THttpRequest& request);
    uint64_t SendFileBody(const TServedFile& file, bool& complete);
    THttpReply HandleSafely(const THttpRequest& request);

    boost::asio::io_context ioc_;
    boost::beast::tcp_stream stream_;
    boost::beast::flat_buffer buffer_;
    std::shared_ptr<IHttpRequestHandler> handler_;
    THttpConnectionLimits limits_;
    THttpPeer peer_;
    std::atomic<bool> aborted_{false};
};

}  // namespace engine
