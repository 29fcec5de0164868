#include "installer/CurlHttpClient.h"

#include <curl/curl.h>

#include <cctype>
#include <string_view>

#include "engine/ftp/curl_easy.h"
#include "platform/util/ascii_case.h"

namespace hollarin {
namespace {

constexpr const char* kUserAgent = "Hollarin";
constexpr long kHttpNotFound = 404;
constexpr long kHttpGone = 410;

// What the callbacks of one transfer share with the request.
struct TTransfer {
    const THttpClient::Sink* Sink = nullptr;
    const THttpClient::Progress* Progress = nullptr;
    int64_t MaxBodyBytes = 0;
    int64_t Received = 0;
    bool SinkRefused = false;
    bool CallbackFailed = false;  // a callback threw; nothing may unwind through libcurl
    bool TooLarge = false;
    bool Aborted = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<TTransfer*>(user);
    const size_t bytes = size * count;
    if (transfer->Received + int64_t(bytes) > transfer->MaxBodyBytes) {
        transfer->TooLarge = true;
        return 0;
    }
    try {
        if (transfer->Sink == nullptr || !(*transfer->Sink)(data, bytes)) {
            transfer->SinkRefused = true;
            return 0;
        }
    } catch (...) {
        transfer->CallbackFailed = true;
        return 0;
    }
    transfer->Received += int64_t(bytes);
    return bytes;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<TTransfer*>(user);
    try {
        if (transfer->Progress != nullptr && *transfer->Progress && !(*transfer->Progress)(transfer->Received)) {
            transfer->Aborted = true;
            return 1;
        }
    } catch (...) {
        transfer->CallbackFailed = true;
        return 1;
    }
    return 0;
}

THttpResult Fail(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
    return THttpResult::Failed;
}

bool IsPlainHttpUrl(const std::string& url) {
    constexpr std::string_view scheme = "http://";
    return url.size() > scheme.size() && platform::StartsWithIgnoringCase(url, scheme);
}

// Runs one request on a fresh handle; head: no body, *contentLength filled.
THttpResult Perform(const std::string& url, const std::string& caFile, const THttpLimits& limits, bool head,
                    TTransfer& transfer, int64_t* contentLength, std::string* error) {
    if (!IsPlainHttpUrl(url)) return Fail(error, "only plain HTTP is requested: " + url);
    engine::CurlEasy easy;
    if (!easy.valid()) return Fail(error, "libcurl could not make a handle");
    CURL* curl = easy.get();
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    // The allowed protocols bind the redirect targets too, so HTTPS must be among them for a mirror that
    // moves the download to HTTPS; the first request is plain HTTP (checked above).
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.MaxRedirects);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals: we run on a worker thread
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.StallTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    if (head) {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.HeadTimeoutMs);
    }

    const CURLcode code = curl_easy_perform(curl);
    if (transfer.CallbackFailed) return Fail(error, "the transfer's handler failed");
    if (transfer.Aborted) return THttpResult::Aborted;
    if (transfer.SinkRefused) {
        if (error != nullptr) *error = "the received data could not be stored";
        return THttpResult::SinkFailed;
    }
    if (transfer.TooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return Fail(error, "the answer is larger than " + std::to_string(limits.MaxBodyBytes) + " bytes");
    if (code != CURLE_OK) {
        const THttpResult result = Fail(error, errorText[0] != '\0' ? errorText : curl_easy_strerror(code));
        long status = 0;
        if (code == CURLE_HTTP_RETURNED_ERROR && curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
            (status == kHttpNotFound || status == kHttpGone))
            return THttpResult::NotFound;
        return result;
    }
    if (contentLength != nullptr) {
        curl_off_t length = -1;
        if (curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK) length = -1;
        *contentLength = length;
    }
    return THttpResult::Ok;
}

}  // namespace

THttpResult TCurlHttpClient::Head(const std::string& url, const THttpLimits& limits, int64_t* contentLength,
                                  const Progress& progress, std::string* error) {
    TTransfer transfer;
    transfer.Progress = &progress;
    transfer.MaxBodyBytes = limits.MaxBodyBytes;
    *contentLength = -1;
    return Perform(url, caFile_, limits, true, transfer, contentLength, error);
}

THttpResult TCurlHttpClient::Get(const std::string& url, const THttpLimits& limits, const Sink& sink,
                                 const Progress& progress, std::string* error) {
    TTransfer transfer;
    transfer.Sink = &sink;
    transfer.Progress = &progress;
    transfer.MaxBodyBytes = limits.MaxBodyBytes;
    return Perform(url, caFile_, limits, false, transfer, nullptr, error);
}

}  // namespace hollarin
