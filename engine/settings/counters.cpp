#include "engine/settings/counters.h"

#include <atomic>

namespace engine {

namespace {
std::atomic<int32_t> g_nextCaptureIndex{0};
std::atomic<int32_t> g_nextStreamerIndex{1};
std::atomic<int32_t> g_nextWebSocketIndex{1};
std::atomic<int32_t> g_nextHttpServerIndex{1};
std::atomic<int32_t> g_nextInternalPort{kFirstInternalPort};
}  // namespace

int32_t NextCaptureIndex() { return g_nextCaptureIndex.fetch_add(1); }
int32_t NextStreamerIndex() { return g_nextStreamerIndex.fetch_add(1); }
int32_t NextWebSocketIndex() { return g_nextWebSocketIndex.fetch_add(1); }
int32_t NextHttpServerIndex() { return g_nextHttpServerIndex.fetch_add(1); }
void SetNextWebSocketIndex(int32_t value) { g_nextWebSocketIndex = value; }
void SetNextHttpServerIndex(int32_t value) { g_nextHttpServerIndex = value; }

int32_t NextInternalPort() {
    int32_t port = g_nextInternalPort.load();
    int32_t next;
    do {
        next = port + 1 > kLastInternalPort ? kInternalPortRestart : port + 1;
    } while (!g_nextInternalPort.compare_exchange_weak(port, next));
    return port;
}

void ResetInternalPort() { g_nextInternalPort = kFirstInternalPort; }

}  // namespace engine
