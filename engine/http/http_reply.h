// What a request handler answers: a status with a small body it made itself, or an opened file that
// the connection sends after the handler has returned (and released whatever lock it held).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>

#include "engine/http/served_file.h"

namespace engine {

using THttpRequest = boost::beast::http::request<boost::beast::http::string_body>;

struct THttpPeer {
    std::string Address;  // dotted text
    uint16_t Port = 0;
};

struct THttpReply {
    unsigned Status = 200;
    std::string ContentType = "text/html";
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;
    // Sent as the body when open (Body is then ignored).
    TServedFile File;
    // Only the header goes out, announcing ContentLength (HEAD).
    bool HeaderOnly = false;
    uint64_t ContentLength = 0;
    bool CloseConnection = false;
    // Runs on the connection thread after a File body went out (or failed part-way), with the bytes
    // sent; whatever it holds (a file-in-use mark) lives until the reply goes.
    std::function<void(uint64_t bytesSent, bool complete)> AfterTransfer;
};

// Handles the requests of one server; called on connection threads, several at a time.
class IHttpRequestHandler {
public:
    virtual ~IHttpRequestHandler() = default;
    virtual THttpReply Handle(const THttpRequest& request, const THttpPeer& peer) = 0;
    // An error of a connection that no reply can tell (an exception while handling, a failed write).
    virtual void ConnectionError(const std::string& message) = 0;
};

}  // namespace engine
