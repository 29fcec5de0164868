// THttpClient on libcurl: the request goes out over plain HTTP (another scheme is refused before
// anything is sent); redirects are followed to HTTP or HTTPS and nowhere else. HTTPS answers are
// verified against the system's certificates. Error statuses count as failures, environment proxies
// apply. One easy handle per request, so one client may serve any thread.
#pragma once

#include <string>

#include "installer/HttpClient.h"

namespace hollarin {

class TCurlHttpClient final : public THttpClient {
public:
    // caFile: a certificate bundle to verify HTTPS answers against in place of the system's ("": the system's).
    explicit TCurlHttpClient(std::string caFile = std::string()) : caFile_(std::move(caFile)) {}

    THttpResult Head(const std::string& url, const THttpLimits& limits, int64_t* contentLength,
                     const Progress& progress, std::string* error) override;
    THttpResult Get(const std::string& url, const THttpLimits& limits, const Sink& sink, const Progress& progress,
                    std::string* error) override;

private:
    const std::string caFile_;
};

}  // namespace hollarin
