// One client connection on its own connection thread: reads requests with Beast, hands each to the
// server's request handler and writes the reply, keeping the connection open while both sides want it.
// The thread works the socket with plain blocking calls (TConnectionSocket), so every read and write
// is bounded in time and an abort from another thread (the server stopping) ends whatever wait is in
// progress; files go out with sendfile(), straight from the page cache.
#pragma once

#include <cstdint>
#include <memory>

#include <boost/beast/core/flat_buffer.hpp>

#include "engine/http/connection_socket.h"
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

    TReadOutcome ReadRequest(THttpRequest& request);
    bool WriteSimpleReply(THttpReply& reply, const THttpRequest* request);
    bool WriteFileReply(THttpReply& reply, const THttpRequest& request);
    bool WriteSmallFileReply(THttpReply& reply, const THttpRequest& request);
    uint64_t SendFileBody(const TServedFile& file, bool& complete);
    THttpReply HandleSafely(const THttpRequest& request);
    void SendDeadline();

    TConnectionSocket socket_;
    boost::beast::flat_buffer buffer_;
    std::shared_ptr<IHttpRequestHandler> handler_;
    THttpConnectionLimits limits_;
    THttpPeer peer_;
};

}  // namespace engine
