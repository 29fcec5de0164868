#include "engine/http/http_request_handler.h"

#include <algorithm>
#include <cctype>

#include <boost/beast/http/field.hpp>
#include <boost/beast/http/status.hpp>
#include <boost/beast/http/verb.hpp>

#include "engine/http/basic_credentials.h"
#include "engine/http/form_params.h"
#include "engine/http/http_pages.h"
#include "engine/http/log_text.h"
#include "engine/http/mime_type_table.h"
#include "engine/http/request_path_mapper.h"
#include "platform/util/ascii_case.h"

namespace engine {
namespace {

namespace http = boost::beast::http;

constexpr std::string_view kSnapshotMarker = "/capimg_";
constexpr std::string_view kSessionDocument = "/session";
constexpr std::string_view kFormContentType = "application/x-www-form-urlencoded";

std::string_view ToStdView(boost::beast::string_view text) { return {text.data(), text.size()}; }

std::string PeerText(const THttpPeer& peer) { return peer.Address + ":" + std::to_string(peer.Port); }

THttpReply PageReply(http::status status, std::string body) {
    THttpReply reply;
    reply.Status = static_cast<unsigned>(status);
    reply.Body = std::move(body);
    return reply;
}

THttpReply ErrorReply(http::status status) {
    return PageReply(status, ErrorPage(std::string(http::obsolete_reason(status))));
}

THttpReply AccessDeniedReply() { return PageReply(http::status::forbidden, kAccessDeniedPage); }

THttpReply UnavailableReply(bool closeConnection) {
    THttpReply reply = ErrorReply(http::status::service_unavailable);
    reply.Headers.emplace_back("Retry-After", std::to_string(kInUseRetryAfterSeconds));
    reply.CloseConnection = closeConnection;
    return reply;
}

bool IsFormPost(const THttpRequest& request) {
    std::string type = platform::AsciiLower(ToStdView(request[http::field::content_type]));
    return request.method() == http::verb::post && type.rfind(kFormContentType, 0) == 0;
}

}  // namespace

THttpRequestHandler::THttpRequestHandler(THttpServeSettings settings, std::recursive_mutex& globalLock,
                                         TClosingQuery appClosing, std::shared_ptr<IHttpServerHost> host,
                                         TLogFunction log)
    : settings_(std::move(settings)),
      globalLock_(globalLock),
      appClosing_(std::move(appClosing)),
      host_(std::move(host)),
      log_(std::move(log)) {}

std::string THttpRequestHandler::SnapshotPathPrefix(const std::string& document) {
    size_t marker = document.find(kSnapshotMarker);
    return marker == std::string::npos ? std::string() : document.substr(0, marker + 1);
}

void THttpRequestHandler::Log(const std::string& text) const {
    if (log_ && !appClosing_()) log_(text);
}

void THttpRequestHandler::Notify(intptr_t code, TShareId share) const {
    if (host_) host_->Notifier().Post(code, share);
}

void THttpRequestHandler::ConnectionError(const std::string& message) {
    Log("general error : " + EscapeForLog(message));
}

THttpReply THttpRequestHandler::Handle(const THttpRequest& request, const THttpPeer& peer) {
    if (appClosing_()) return UnavailableReply(true);
    std::string_view target = ToStdView(request.target());
    if (settings_.Authentication) {
        auto given = ParseBasicAuthorization(ToStdView(request[http::field::authorization]));
        if (!CredentialsMatch(given, settings_.User, settings_.Password)) {
            Log("Authentication failed for a request from " + PeerText(peer));
            THttpReply reply = PageReply(http::status::unauthorized, kAuthFailedPage);
            reply.Headers.emplace_back("WWW-Authenticate", std::string("Basic realm=\"") + kAuthRealm + "\"");
            return reply;
        }
    }

    std::string document;
    if (!PercentDecode(TargetPath(target), false, document)) document = std::string(TargetPath(target));
    std::string method(ToStdView(request.method_string()));
    Log("Command " + EscapeForLog(method) + " " + EscapeForLog(document) + " received from " + PeerText(peer));

    TFormParams params;
    AppendFormParams(TargetQuery(target), params);
    if (IsFormPost(request)) AppendFormParams(request.body(), params);
    if (request.method() == http::verb::post) {
        for (const auto& [name, value] : params) Log(EscapeForLog(name + "=" + value));
    }

    const bool sessionPage = platform::AsciiLower(document).rfind(kSessionDocument, 0) == 0;
    const TMappedPath mapped =
        sessionPage ? TMappedPath{} : MapRequestPath(settings_.CanonicalRoot, TargetPath(target));
    TServedFile file;
    TServedFile::TOpenResult opened = TServedFile::TOpenResult::Failed;
    TShareId share = 0;
    const std::string prefix = SnapshotPathPrefix(document);
    if (!prefix.empty()) {
        // The share lists and the snapshot writer's pass are what GlobalLock guards: a snapshot asked
        // for while its writer runs is opened once the new picture is in place.
        std::lock_guard lock(globalLock_);
        if (host_) {
            share = host_->FindShareIdForPath(prefix);
            if (share != 0) Notify(kCnHttpRequest, share);
        }
        if (mapped.Verdict == TPathVerdict::Found) opened = file.Open(mapped.Path);
    } else if (mapped.Verdict == TPathVerdict::Found) {
        // Every other file is replaced by renaming a finished one over it (pages, playlists) or
        // written once under a name of its own (segments, refused below while being written): the
        // open gets a whole file without the lock, and the file opened is the one sent.
        opened = file.Open(mapped.Path);
    }

    if (sessionPage) {
        THttpReply reply =
            PageReply(http::status::ok, SessionPage(platform::AsciiLower(FormParamValue(params, "action")) == "close"));
        reply.ContentType = kSessionPageType;
        return reply;
    }
    switch (mapped.Verdict) {
        case TPathVerdict::NotFound:
            return ErrorReply(http::status::not_found);
        case TPathVerdict::Forbidden:
            return AccessDeniedReply();
        case TPathVerdict::BadRequest:
            return ErrorReply(http::status::bad_request);
        case TPathVerdict::Found:
            break;
    }
    if (opened != TServedFile::TOpenResult::Opened) return AccessDeniedReply();  // no regular file
    if (request.method() == http::verb::head) {
        THttpReply reply;
        reply.ContentType = TMimeTypeTable::Shared().GetMimeType(mapped.Path.string());
        reply.HeaderOnly = true;
        reply.ContentLength = file.Size();
        return reply;
    }
    return ServeFile(peer, std::move(file), share);
}

THttpReply THttpRequestHandler::ServeFile(const THttpPeer& peer, TServedFile file, TShareId share) {
    const std::string pathText = file.Path().string();
    // A segment still being written would go out cut short: the client asks again later.
    if (file.BeingWritten()) {
        Log("File in use, not served: " + EscapeForLog(pathText));
        return UnavailableReply(false);
    }
    THttpReply reply;
    reply.ContentType = TMimeTypeTable::Shared().GetMimeType(pathText);
    reply.File = std::move(file);
    const uint64_t size = reply.File.Size();
    reply.AfterTransfer = [this, pathText, size, peer, share](uint64_t sent, bool complete) {
        if (!complete) Log("general error - serve file : " + EscapeForLog(pathText));
        if (sent > 0) Notify(kCnHttpSend, share);
        Log("Serving file " + EscapeForLog(pathText) + " (" + std::to_string(sent) + " bytes / " +
            std::to_string(size) + " bytes sent) to " + PeerText(peer));
    };
    return reply;
}

}  // namespace engine
