// The FTP session on libcurl, in passive mode. One easy handle keeps the control connection open
// between calls; every call is bounded by the time-outs below, and a stop request from the owner
// ends a call at once (FtpCallStop). The user name and password go to libcurl as options: they
// are never part of a URL or of a message.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/ftp/curl_easy.h"
#include "engine/ftp/ftp_call_stop.h"
#include "engine/ftp/ftp_session.h"

namespace engine {

struct FtpLogin {
    std::string host;  // as the share holds it; see FtpServerAddress
    std::string user;
    std::string password;
};

class CurlFtpSession final : public FtpSession {
public:
    static constexpr long kConnectTimeoutMs = 10'000;     // connecting and all talk of a call before its transfer starts
    static constexpr long kReplyTimeoutS = 15;            // waiting for any one server reply
    static constexpr long kStallTimeoutS = 15;            // a transfer below kStallMinBytesPerS this long is dead
    static constexpr long kStallMinBytesPerS = 1;
    static constexpr long kOperationTimeoutMs = 300'000;  // one whole call, upload included
    static constexpr long kWorkReportIntervalMs = 100;    // progress is reported at most this often

    // stop, when given, lets the owner end the calls from another thread; they then end with kAborted.
    explicit CurlFtpSession(FtpLogin login, std::shared_ptr<FtpCallStop> stop = nullptr);
    ~CurlFtpSession() override;

    FtpResult Connect() override;
    bool IsConnected() const override { return connected_; }
    void Disconnect() override;
    void CapWaits(std::chrono::seconds limit) override { waitCap_ = limit; }
    FtpResult ChangeDir(const std::string& dir) override;
    FtpResult MakeDirs(const std::string& dir) override;
    FtpResult CurrentDir(std::string* dir) override;
    FtpResult ListPlainFiles(std::vector<FtpListedFile>* files) override;
    FtpResult Upload(const std::filesystem::path& localFile, const std::string& remoteName,
                     const FtpTransferHandlers& handlers) override;
    FtpResult Delete(const std::string& remoteName) override;

private:
    struct Call;
    static int OnProgress(void* call, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded);
    static curl_socket_t OnOpenSocket(void* stop, curlsocktype purpose, curl_sockaddr* address);
    static int OnCloseSocket(void* stop, curl_socket_t fd);

    FtpResult Perform(Call& call);
    FtpResult CommandsInCurrentDir(const std::vector<std::string>& commands, std::string* replies = nullptr);
    FtpResult EnterDir(const std::string& dir, bool createMissing);
    FtpResult Store(const std::filesystem::path& localFile, const std::string& storeName,
                    const std::vector<std::string>& afterStore, const FtpTransferHandlers& handlers);
    std::string DirUrl(const std::string& dir) const;
    std::string CurrentDirUrl() const;

    FtpLogin login_;
    std::string baseUrl_;  // "ftp://server/", "" when the host is unusable
    std::shared_ptr<FtpCallStop> stop_;  // outlives easy_, whose connections close through it
    std::optional<std::chrono::seconds> waitCap_;
    std::unique_ptr<CurlEasy> easy_;
    bool connected_ = false;
    bool currentDirKnown_ = false;  // false: still in the login folder
    std::string currentDir_;
    CURLcode lastCode_ = CURLE_OK;
    bool renameRefused_ = false;    // the server refused to rename an upload; later uploads go straight in
};

}  // namespace engine
