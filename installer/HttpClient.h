// The download's HTTP client: a HEAD request for the archive's length and a GET whose body goes to a
// sink as it arrives. The real one is libcurl's (CurlHttpClient.h); tests hand in fakes that fail on
// a chosen step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace hollarin {

constexpr long kConnectTimeoutMs = 15000;
constexpr long kHeadTimeoutMs = 30000;
// A GET that receives nothing for this long is given up (the whole archive may take long on a slow line).
constexpr long kStallTimeoutSeconds = 60;
constexpr long kMaxRedirects = 5;
// The release archive is about 35 MB; an answer far larger is not it.
constexpr int64_t kMaxDownloadBytes = int64_t(1) << 30;

struct THttpLimits {
    long ConnectTimeoutMs = kConnectTimeoutMs;
    long HeadTimeoutMs = kHeadTimeoutMs;
    long StallTimeoutSeconds = kStallTimeoutSeconds;
    long MaxRedirects = kMaxRedirects;
    int64_t MaxBodyBytes = kMaxDownloadBytes;
};

enum class THttpResult {
    Ok,
    NotFound,     // the server has no such file (404 or 410)
    Failed,       // no connection, time-out, another error status, too large, a broken transfer
    SinkFailed,   // the sink refused bytes (the file could not be written)
    Aborted,      // the progress callback asked to stop
};

class THttpClient {
public:
    // Bytes of the body as they arrive; false stops the transfer with SinkFailed.
    using Sink = std::function<bool(const char* data, size_t size)>;
    // The bytes received so far; false stops the transfer with Aborted. Called at least once a second.
    using Progress = std::function<bool(int64_t received)>;

    virtual ~THttpClient() = default;
    // *contentLength := the answer's Content-Length, -1 when it has none.
    virtual THttpResult Head(const std::string& url, const THttpLimits& limits, int64_t* contentLength,
                             const Progress& progress, std::string* error) = 0;
    virtual THttpResult Get(const std::string& url, const THttpLimits& limits, const Sink& sink,
                            const Progress& progress, std::string* error) = 0;
};

}  // namespace hollarin
