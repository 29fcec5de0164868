// Clients that each keep one connection to a web server on 127.0.0.1 and ask for the same document
// again and again until the time is up: requests per second, MB/s and failed requests.
#pragma once

#include <chrono>
#include <string>

namespace fw_bench {

struct TFigures {
    double RequestsPerSecond = 0;
    double MegabytesPerSecond = 0;
    long Failures = 0;
};

TFigures MeasureKeepAliveClients(int port, const std::string& target, int clients, std::chrono::milliseconds duration);

// A port that was free on 127.0.0.1 a moment ago.
int FreeLoopbackPort();

// True when a GET of target on 127.0.0.1:port answers 200 within a second.
bool AnswersGet(int port, const std::string& target);

}  // namespace fw_bench
