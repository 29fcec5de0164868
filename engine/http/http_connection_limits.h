// Bounds of one client connection; every wait on the client ends within one of these.
#pragma once

#include <chrono>
#include <cstddef>

namespace engine {

constexpr size_t kMaxRequestHeaderBytes = 16 * 1024;  // request line and header fields together
constexpr size_t kMaxRequestBodyBytes = 1024 * 1024;  // form posts; nothing else is accepted
constexpr size_t kSendChunkBytes = 64 * 1024;  // files up to this size go out with their header in one write
constexpr std::chrono::milliseconds kRequestReadTimeoutMs{30'000};  // idle keep-alive wait included
constexpr std::chrono::milliseconds kSendStallTimeoutMs{30'000};    // one chunk without progress

struct THttpConnectionLimits {
    std::chrono::milliseconds RequestReadTimeout = kRequestReadTimeoutMs;
    std::chrono::milliseconds SendStallTimeout = kSendStallTimeoutMs;
};

}  // namespace engine
