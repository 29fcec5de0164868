// THttpClient on libcurl: plain HTTP (redirects may lead to HTTP or HTTPS), error statuses count as
// failures, environment proxies apply. One easy handle per request, so one client may serve any thread.
#pragma once

#include "installer/HttpClient.h"

namespace hollarin {

class TCurlHttpClient final : public THttpClient {
public:
    THttpResult Head(const std::string& url, const THttpLimits& limits, int64_t* contentLength,
                     const Progress& progress, std::string* error) override;
    THttpResult Get(const std::string& url, const THttpLimits& limits, const Sink& sink, const Progress& progress,
                    std::string* error) override;
};

}  // namespace hollarin
