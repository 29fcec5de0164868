#include "engine/http/http_connection.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

#include <boost/asio/write.hpp>
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
    : stream_(ioc_), handler_(std::move(handler)), limits_(limits) {
    error_code ec;
    stream_.socket().assign(asio::ip::tcp::v4(), socketFd, ec);
    if (ec) {
        ::close(socketFd);
        return;
    }
    // Header and body go out as separate writes: without this, a small file waits for the
    // client's delayed acknowledgement.
    stream_.socket().set_option(asio::ip::tcp::no_delay(true), ec);
    auto remote = stream_.socket().remote_endpoint(ec);
    if (!ec) peer_ = {remote.address().to_string(), remote.port()};
}

THttpConnection::~THttpConnection() {
    error_code ignored;
    stream_.socket().close(ignored);
}

void THttpConnection::Abort() {
    aborted_ = true;
    ioc_.stop();
}

error_code THttpConnection::Complete(const bool& done, const error_code& result) {
    ioc_.restart();
    if (aborted_) stream_.close();
    ioc_.run();
    // Stopped by Abort before the operation ended: closing makes it finish as aborted.
    while (!done) {
        stream_.close();
        ioc_.restart();
        ioc_.run();
    }
    return aborted_ ? error_code(asio::error::operation_aborted) : result;
}

THttpConnection::TReadOutcome THttpConnection::ReadRequest(THttpRequest& request) {
    http::request_parser<http::string_body> parser;
    parser.header_limit(static_cast<std::uint32_t>(kMaxRequestHeaderBytes));
    parser.body_limit(kMaxRequestBodyBytes);
    stream_.expires_after(limits_.RequestReadTimeout);
    bool done = false;
    error_code result;
    http::async_read(stream_, buffer_, parser, [&](error_code ec, size_t) {
        result = ec;
        done = true;
    });
    error_code ec = Complete(done, result);
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
    bool done = false;
    error_code result;
    auto onWritten = [&](error_code ec, size_t) {
        result = ec;
        done = true;
    };
    stream_.expires_after(limits_.SendStallTimeout);
    // Both messages live until Complete returns: the write refers to them until then.
    http::response<http::empty_body> header{static_cast<http::status>(reply.Status), version};
    http::response<http::string_body> full{static_cast<http::status>(reply.Status), version};
    if (headerOnly) {
        FillHeader(header, reply, keepAlive);
        header.content_length(reply.HeaderOnly ? reply.ContentLength : reply.Body.size());
        http::async_write(stream_, header, onWritten);
    } else {
        FillHeader(full, reply, keepAlive);
        full.body() = std::move(reply.Body);
        full.prepare_payload();
        http::async_write(stream_, full, onWritten);
    }
    return !Complete(done, result) && keepAlive;
}

uint64_t THttpConnection::SendFileBody(const TServedFile& file, bool& complete) {
    std::vector<char> chunk(kSendChunkBytes);
    uint64_t sent = 0;
    while (sent < file.Size()) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(chunk.size(), file.Size() - sent));
        long got = file.ReadAt(sent, chunk.data(), want);
        if (got <= 0) break;  // the file shrank or a read failed: the announced length cannot be kept
        stream_.expires_after(limits_.SendStallTimeout);
        bool done = false;
        error_code result;
        asio::async_write(stream_, asio::buffer(chunk.data(), static_cast<size_t>(got)),
                          [&](error_code ec, size_t) {
                              result = ec;
                              done = true;
                          });
        if (Complete(done, result)) break;
        sent += static_cast<uint64_t>(got);
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
        stream_.expires_after(limits_.SendStallTimeout);
        bool done = false;
        error_code result;
        http::async_write(stream_, message, [&](error_code ec, size_t) {
            result = ec;
            done = true;
        });
        complete = !Complete(done, result);
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
    stream_.expires_after(limits_.SendStallTimeout);
    bool done = false;
    error_code result;
    http::async_write(stream_, header, [&](error_code ec, size_t) {
        result = ec;
        done = true;
    });
    bool complete = false;
    uint64_t sent = 0;
    if (!Complete(done, result)) sent = SendFileBody(reply.File, complete);
    if (reply.AfterTransfer) reply.AfterTransfer(sent, complete);
    return complete && keepAlive;
}

void THttpConnection::Run() {
    if (!stream_.socket().is_open()) return;
    while (!aborted_) {
        THttpRequest request;
        if (ReadRequest(request) != TReadOutcome::Request) break;
        THttpReply reply = HandleSafely(request);
        bool keepOpen = reply.File.IsOpen() ? WriteFileReply(reply, request) : WriteSimpleReply(reply, &request);
        if (!keepOpen) break;
    }
    error_code ignored;
    stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    stream_.socket().close(ignored);
}

}  // namespace engine
