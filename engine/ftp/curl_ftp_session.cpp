#include "engine/ftp/curl_ftp_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "engine/ftp/ftp_list_parser.h"
#include "engine/util/ftp_names.h"

namespace engine {
namespace {

constexpr size_t kMaxReplyBytes = 64 * 1024;          // server replies kept for one call
constexpr size_t kMaxListingBytes = 16 * 1024 * 1024;  // a longer folder listing is refused

using SteadyClock = std::chrono::steady_clock;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

FtpStatus StatusOf(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return FtpStatus::kOk;
        case CURLE_ABORTED_BY_CALLBACK:
            return FtpStatus::kAborted;
        case CURLE_REMOTE_ACCESS_DENIED:
        case CURLE_QUOTE_ERROR:
        case CURLE_UPLOAD_FAILED:
        case CURLE_REMOTE_FILE_NOT_FOUND:
        case CURLE_REMOTE_DISK_FULL:
        case CURLE_REMOTE_FILE_EXISTS:
        case CURLE_FTP_COULDNT_SET_TYPE:
        case CURLE_FTP_BAD_FILE_LIST:
        case CURLE_LOGIN_DENIED:
            return FtpStatus::kRefused;
        default:
            return FtpStatus::kNetwork;
    }
}

// Splits "/live/cam1" into its components; false when one of them may not go onto the wire.
bool SplitDir(const std::string& dir, std::vector<std::string>* parts) {
    size_t start = 0;
    while (start <= dir.size()) {
        const size_t end = std::min(dir.find('/', start), dir.size());
        if (end > start) {
            const std::string part = dir.substr(start, end - start);
            if (!IsSafeFtpName(part)) return false;
            parts->push_back(part);
        }
        start = end + 1;
    }
    return true;
}

// The folder named by a "257" reply to PWD: the text between its quotes, doubled quotes undone.
bool ParsePwdReply(const std::string& replies, std::string* dir) {
    size_t pos = replies.rfind("257 ");
    if (pos == std::string::npos || (pos > 0 && replies[pos - 1] != '\n')) return false;
    pos = replies.find('"', pos);
    if (pos == std::string::npos) return false;
    std::string path;
    for (size_t i = pos + 1; i < replies.size(); ++i) {
        if (replies[i] != '"') {
            if (replies[i] == '\r' || replies[i] == '\n') return false;
            path.push_back(replies[i]);
        } else if (i + 1 < replies.size() && replies[i + 1] == '"') {
            path.push_back('"');
            ++i;
        } else {
            *dir = path;
            return true;
        }
    }
    return false;
}

}  // namespace

// What one libcurl call does beyond the common options.
struct CurlFtpSession::Call {
    std::string url;
    bool noBody = true;
    bool createMissingDirs = false;
    std::vector<std::string> afterCommands;  // sent once the folder of the URL is reached (post-quote)
    std::string replies;                     // the server's replies, capped at kMaxReplyBytes
    std::string* body = nullptr;             // set: keeps what the server sends (a listing)
    FILE* upload = nullptr;
    int64_t uploadSize = 0;
    const FtpTransferHandlers* handlers = nullptr;
    const FtpCallStop* stop = nullptr;
    SteadyClock::time_point lastWorkReport{};
    int64_t lastWorkBytes = 0;
};

namespace {

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

size_t KeepBody(char* data, size_t size, size_t count, void* userdata) {
    auto* body = static_cast<std::string*>(userdata);
    const size_t bytes = size * count;
    if (body->size() + bytes > kMaxListingBytes) return 0;  // ends the call with a write error
    body->append(data, bytes);
    return bytes;
}

size_t KeepReply(char* data, size_t size, size_t count, void* userdata) {
    auto* replies = static_cast<std::string*>(userdata);
    const size_t bytes = size * count;
    if (replies->size() < kMaxReplyBytes) replies->append(data, std::min(bytes, kMaxReplyBytes - replies->size()));
    return bytes;
}

size_t ReadUpload(char* buffer, size_t size, size_t count, void* userdata) {
    return std::fread(buffer, size, count, static_cast<FILE*>(userdata));
}

}  // namespace

// Called by libcurl during every call, also while it waits for the server.
int CurlFtpSession::OnProgress(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
    auto* call = static_cast<CurlFtpSession::Call*>(userdata);
    if (call->stop && call->stop->Requested()) return 1;
    if (call->handlers && call->handlers->onWork && uploaded > call->lastWorkBytes) {
        const auto now = SteadyClock::now();
        if (now - call->lastWorkReport >= std::chrono::milliseconds(CurlFtpSession::kWorkReportIntervalMs) ||
            uploaded == call->uploadSize) {
            call->lastWorkReport = now;
            call->lastWorkBytes = uploaded;
            call->handlers->onWork(uploaded);
        }
    }
    return 0;
}

curl_socket_t CurlFtpSession::OnOpenSocket(void* stop, curlsocktype, curl_sockaddr* address) {
    const int fd = static_cast<FtpCallStop*>(stop)->OpenSocket(address->family, address->socktype, address->protocol);
    return fd < 0 ? CURL_SOCKET_BAD : fd;
}

int CurlFtpSession::OnCloseSocket(void* stop, curl_socket_t fd) { return static_cast<FtpCallStop*>(stop)->CloseSocket(fd); }

CurlFtpSession::CurlFtpSession(FtpLogin login, std::shared_ptr<FtpCallStop> stop)
    : login_(std::move(login)), stop_(stop ? std::move(stop) : std::make_shared<FtpCallStop>()) {
    const std::string server = FtpServerAddress(login_.host);
    if (!server.empty()) baseUrl_ = "ftp://" + server + "/";
}

CurlFtpSession::~CurlFtpSession() { Disconnect(); }

FtpResult CurlFtpSession::Perform(Call& call) {
    if (!easy_) easy_ = std::make_unique<CurlEasy>();
    if (!easy_->valid()) {
        easy_.reset();
        return {FtpStatus::kNetwork, "libcurl could not make a handle"};
    }
    CURL* curl = easy_->get();
    // Reset keeps the open connection; every option is set again for this call.
    curl_easy_reset(curl);
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_URL, call.url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_USERNAME, login_.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, login_.password.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // Every socket of the session goes through the stop, so a stop can wake a call waiting on one.
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, OnOpenSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, stop_.get());
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, OnCloseSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, stop_.get());
    // libcurl's connect time-out runs until a transfer starts, so it bounds a whole call's talk and is
    // never capped; the waits for one answer are.
    const long capS = waitCap_ ? static_cast<long>(waitCap_->count()) : kReplyTimeoutS;
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, std::min(kReplyTimeoutS, capS));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, kStallMinBytesPerS);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, std::min(kStallTimeoutS, capS));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kOperationTimeoutMs);
    if (call.body) {
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, KeepBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, call.body);
    } else {
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, DiscardBody);
    }
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, KeepReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &call.replies);
    call.stop = stop_.get();
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &call);
    curl_easy_setopt(curl, CURLOPT_NOBODY, call.noBody ? 1L : 0L);
    if (call.createMissingDirs) curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, CURLFTP_CREATE_DIR_RETRY);
    CurlStringList after;
    for (const std::string& command : call.afterCommands) {
        if (!after.Append(command)) return {FtpStatus::kNetwork, "out of memory"};
    }
    if (after.get()) curl_easy_setopt(curl, CURLOPT_POSTQUOTE, after.get());
    if (call.upload) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadUpload);
        curl_easy_setopt(curl, CURLOPT_READDATA, call.upload);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(call.uploadSize));
    }

    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    lastCode_ = code;
    if (code == CURLE_OK) return FtpResult::Ok();
    // A stop wakes a waiting call by shutting its sockets down, which ends it with a network error.
    const FtpStatus status = stop_->Requested() ? FtpStatus::kAborted : StatusOf(code);
    FtpResult result{status, error[0] ? error : curl_easy_strerror(code)};
    // The connection is gone or in an unknown state: drop it.
    if (status == FtpStatus::kNetwork || status == FtpStatus::kAborted || code == CURLE_LOGIN_DENIED) Disconnect();
    return result;
}

FtpResult CurlFtpSession::Connect() {
    Disconnect();
    if (baseUrl_.empty()) return {FtpStatus::kRefused, "no usable FTP host"};
    Call call;
    call.url = baseUrl_;
    FtpResult result = Perform(call);
    connected_ = result.ok();
    currentDirKnown_ = false;
    currentDir_.clear();
    return result;
}

void CurlFtpSession::Disconnect() {
    // libcurl would say QUIT and wait for the reply; with its sockets shut down it cannot wait.
    if (easy_) stop_->ShutDownSockets();
    easy_.reset();
    connected_ = false;
}

std::string CurlFtpSession::DirUrl(const std::string& dir) const {
    std::vector<std::string> parts;
    SplitDir(dir, &parts);
    // "%2F" makes the path absolute: libcurl changes to "/" first, then into each component.
    std::string url = baseUrl_ + "%2F";
    for (size_t i = 0; i < parts.size(); ++i) {
        char* escaped = curl_easy_escape(nullptr, parts[i].c_str(), static_cast<int>(parts[i].size()));
        if (i > 0) url += "/";
        url += escaped ? escaped : "";
        curl_free(escaped);
    }
    return url + "/";
}

std::string CurlFtpSession::CurrentDirUrl() const { return currentDirKnown_ ? DirUrl(currentDir_) : baseUrl_; }

FtpResult CurlFtpSession::EnterDir(const std::string& dir, bool createMissing) {
    std::vector<std::string> parts;
    if (!SplitDir(dir, &parts)) return {FtpStatus::kRefused, "folder name with control characters"};
    if (!connected_) return {FtpStatus::kNetwork, "not connected"};
    Call call;
    call.url = DirUrl(dir);
    call.createMissingDirs = createMissing;
    FtpResult result = Perform(call);
    if (result.ok()) {
        currentDirKnown_ = true;
        currentDir_ = dir;
    }
    return result;
}

FtpResult CurlFtpSession::ChangeDir(const std::string& dir) { return EnterDir(dir, false); }

FtpResult CurlFtpSession::MakeDirs(const std::string& dir) { return EnterDir(dir, true); }

FtpResult CurlFtpSession::CommandsInCurrentDir(const std::vector<std::string>& commands, std::string* replies) {
    if (!connected_) return {FtpStatus::kNetwork, "not connected"};
    Call call;
    call.url = CurrentDirUrl();
    call.afterCommands = commands;
    FtpResult result = Perform(call);
    if (replies) *replies = std::move(call.replies);
    return result;
}

FtpResult CurlFtpSession::CurrentDir(std::string* dir) {
    std::string replies;
    FtpResult result = CommandsInCurrentDir({"PWD"}, &replies);
    if (result.ok() && !ParsePwdReply(replies, dir)) return {FtpStatus::kRefused, "no folder in the reply to PWD"};
    return result;
}

FtpResult CurlFtpSession::ListPlainFiles(std::vector<FtpListedFile>* files) {
    if (!connected_) return {FtpStatus::kNetwork, "not connected"};
    std::string listing;
    Call call;
    call.url = CurrentDirUrl();  // a folder URL: libcurl asks for LIST
    call.noBody = false;
    call.body = &listing;
    FtpResult result = Perform(call);
    if (result.ok()) *files = PlainFilesInListing(listing);
    return result;
}

FtpResult CurlFtpSession::Store(const std::filesystem::path& localFile, const std::string& storeName,
                                const std::vector<std::string>& afterStore, const FtpTransferHandlers& handlers) {
    std::error_code error;
    const auto size = std::filesystem::file_size(localFile, error);
    FileHandle file(error ? nullptr : std::fopen(localFile.c_str(), "rb"));
    if (!file) return {FtpStatus::kLocalFile, "cannot read " + localFile.string()};
    if (!connected_) return {FtpStatus::kNetwork, "not connected"};
    char* escaped = curl_easy_escape(nullptr, storeName.c_str(), static_cast<int>(storeName.size()));
    Call call;
    call.url = CurrentDirUrl() + (escaped ? escaped : "");
    curl_free(escaped);
    call.noBody = false;
    call.afterCommands = afterStore;
    call.upload = file.get();
    call.uploadSize = static_cast<int64_t>(size);
    call.handlers = &handlers;
    if (handlers.onBegin) handlers.onBegin(call.uploadSize);
    // A file that changes size while it goes up fails as a partial file and is tried again later.
    return Perform(call);
}

FtpResult CurlFtpSession::Upload(const std::filesystem::path& localFile, const std::string& remoteName,
                                 const FtpTransferHandlers& handlers) {
    if (!IsSafeFtpName(remoteName)) return {FtpStatus::kRefused, "file name with control characters"};
    if (!renameRefused_) {
        const std::string temporary = FtpTemporaryName(remoteName);
        FtpResult result = Store(localFile, temporary, {"RNFR " + temporary, "RNTO " + remoteName}, handlers);
        if (result.ok() || result.status != FtpStatus::kRefused) return result;
        if (lastCode_ != CURLE_QUOTE_ERROR) {
            CommandsInCurrentDir({"DELE " + temporary});  // the server refused the transfer: no partial file stays
            return result;
        }
        // The file is up under its temporary name but the rename was refused. Some servers do not
        // rename over an existing file: remove the old one first.
        if (CommandsInCurrentDir({"*DELE " + remoteName, "RNFR " + temporary, "RNTO " + remoteName}).ok()) {
            return FtpResult::Ok();
        }
        CommandsInCurrentDir({"DELE " + temporary});
        renameRefused_ = true;
    }
    FtpResult result = Store(localFile, remoteName, {}, handlers);
    if (result.status == FtpStatus::kRefused) CommandsInCurrentDir({"DELE " + remoteName});
    return result;
}

FtpResult CurlFtpSession::Delete(const std::string& remoteName) {
    if (!IsSafeFtpName(remoteName)) return {FtpStatus::kRefused, "file name with control characters"};
    return CommandsInCurrentDir({"DELE " + remoteName});
}

}  // namespace engine
