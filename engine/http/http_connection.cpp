#include "engine/http/http_connection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <boost/asio/error.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>

namespace engine {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = boost::beast::http;
using boost::system::error_code;

bool IsHandledMethod(http::verb method) {
    return method == http::verb::get || method == http::verb::post || method == http::verb::head;
}

THttpReply RefusalReply(http::status status) {
    THttpReply reply;
    reply.Status = static_cast<unsigned>(status);
    reply.Body = std::string(http::obsolete_reason(status));
    reply.ContentType = "text/plain";
    reply.CloseConnection = true;
    return reply;
}

// The ways a client or the server itself ends a connection that need no log line.
bool IsQuietEnd(const error_code& ec) {
    return ec == http::error::end_of_stream || ec == beast::error::timeout || ec == asio::error::eof ||
           ec == asio::error::operation_aborted || ec == asio::error::connection_reset ||
           ec == asio::error::broken_pipe || ec == asio::error::bad_descriptor;
}

template <class Message>
void FillHeader(Message& message, const THttpReply& reply, bool keepAlive) {
    message.set(http::field::content_type, reply.ContentType);
    for (const auto& [name, value] : reply.Headers) message.set(name, value);
    message.keep_alive(keepAlive);
}

}  // namespace

THttpConnection::THttpConnection(int socketFd, std::shared_ptr<IHttpRequestHandler> handler,
                                 THttpConnectionLimits limits)
    : socket_(socketFd), handler_(std::move(handler)), limits_(limits) {
    if (!socket_.IsOpen()) return;
    // Header and body go out as separate writes: without this, a small file waits for the
    // client's delayed acknowledgement.
    const int on = 1;
    ::setsockopt(socketFd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    peer_ = {socket_.PeerAddress(), socket_.PeerPort()};
}

THttpConnection::~THttpConnection() = default;

void THttpConnection::Abort() { socket_.Abort(); }

void THttpConnection::SendDeadline() { socket_.SetDeadline(TConnectionSocket::Clock::now() + limits_.SendStallTimeout); }

THttpConnection::TReadOutcome THttpConnection::ReadRequest(THttpRequest& request) {
    http::request_parser<http::string_body> parser;
    parser.header_limit(static_cast<std::uint32_t>(kMaxRequestHeaderBytes));
    parser.body_limit(kMaxRequestBodyBytes);
    socket_.SetDeadline(TConnectionSocket::Clock::now() + limits_.RequestReadTimeout);
    error_code ec;
    http::read(socket_, buffer_, parser, ec);
    if (!ec) {
        request = parser.release();
        return TReadOutcome::Request;
    }
    if (IsQuietEnd(ec)) return TReadOutcome::Closed;
    http::status status = http::status::bad_request;
    if (ec == http::error::header_limit) status = http::status::request_header_fields_too_large;
    if (ec == http::error::body_limit) status = http::status::payload_too_large;
    THttpReply refusal = RefusalReply(status);
    WriteSimpleReply(refusal, nullptr);
    return TReadOutcome::Refused;
}

THttpReply THttpConnection::HandleSafely(const THttpRequest& request) {
    if (!IsHandledMethod(request.method())) {
        THttpReply reply = RefusalReply(http::status::not_implemented);
        reply.Headers.emplace_back("Allow", "GET, HEAD, POST");
        reply.CloseConnection = false;
        return reply;
    }
    try {
        return handler_->Handle(request, peer_);
    } catch (const std::exception& e) {
        handler_->ConnectionError(e.what());
    } catch (...) {
        handler_->ConnectionError("unknown error");
    }
    return RefusalReply(http::status::internal_server_error);
}

bool THttpConnection::WriteSimpleReply(THttpReply& reply, const THttpRequest* request) {
    bool keepAlive = request && request->keep_alive() && !reply.CloseConnection;
    bool headerOnly = reply.HeaderOnly || (request && request->method() == http::verb::head);
    unsigned version = request ? request->version() : 11;
    error_code ec;
    SendDeadline();
    if (headerOnly) {
        http::response<http::empty_body> header{static_cast<http::status>(reply.Status), version};
        FillHeader(header, reply, keepAlive);
        header.content_length(reply.HeaderOnly ? reply.ContentLength : reply.Body.size());
        http::write(socket_, header, ec);
    } else {
        http::response<http::string_body> full{static_cast<http::status>(reply.Status), version};
        FillHeader(full, reply, keepAlive);
        full.body() = std::move(reply.Body);
        full.prepare_payload();
        http::write(socket_, full, ec);
    }
    return !ec && keepAlive;
}

uint64_t THttpConnection::SendFileBody(const TServedFile& file, bool& complete) {
    uint64_t sent = 0;
    while (sent < file.Size()) {
        SendDeadline();  // the stall time-out counts from the last progress
        error_code ec;
        const size_t n = socket_.SendFile(file.Descriptor(), sent, static_cast<size_t>(file.Size() - sent), ec);
        if (ec || n == 0) break;  // the file shrank or the client went: the announced length cannot be kept
        sent += n;
    }
    complete = sent == file.Size();
    return sent;
}

bool THttpConnection::WriteSmallFileReply(THttpReply& reply, const THttpRequest& request) {
    bool keepAlive = request.keep_alive() && !reply.CloseConnection;
    http::response<http::string_body> message{static_cast<http::status>(reply.Status), request.version()};
    FillHeader(message, reply, keepAlive);
    std::string& body = message.body();
    body.resize(static_cast<size_t>(reply.File.Size()));
    long got = body.empty() ? 0 : reply.File.ReadAt(0, body.data(), body.size());
    bool complete = false;
    if (got == static_cast<long>(body.size())) {
        message.prepare_payload();
        SendDeadline();
        error_code ec;
        http::write(socket_, message, ec);  // header and body in one call
        complete = !ec;
    }
    if (reply.AfterTransfer) reply.AfterTransfer(complete ? body.size() : 0, complete);
    return complete && keepAlive;
}

bool THttpConnection::WriteFileReply(THttpReply& reply, const THttpRequest& request) {
    // A small file goes out with its header in one write.
    if (reply.File.Size() <= kSendChunkBytes) return WriteSmallFileReply(reply, request);
    bool keepAlive = request.keep_alive() && !reply.CloseConnection;
    http::response<http::empty_body> header{static_cast<http::status>(reply.Status), request.version()};
    FillHeader(header, reply, keepAlive);
    header.content_length(reply.File.Size());
    SendDeadline();
    error_code ec;
    socket_.SetMoreToFollow(true);  // the header leaves with the file's first bytes
    http::write(socket_, header, ec);
    socket_.SetMoreToFollow(false);
    bool complete = false;
    uint64_t sent = 0;
    if (!ec) sent = SendFileBody(reply.File, complete);
    if (reply.AfterTransfer) reply.AfterTransfer(sent, complete);
    return complete && keepAlive;
}

void THttpConnection::Run() {
    if (!socket_.IsOpen()) return;
    for (;;) {
        THttpRequest request;
        if (ReadRequest(request) != TReadOutcome::Request) break;
        THttpReply reply = HandleSafely(request);
        bool keepOpen = reply.File.IsOpen() ? WriteFileReply(reply, request) : WriteSimpleReply(reply, &request);
        if (!keepOpen) break;
    }
    socket_.ShutdownAndClose();
}

}  // namespace engine
