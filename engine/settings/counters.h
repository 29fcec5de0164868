// The index counters of the settings store and the internal-port allocator. Each call hands out the
// counter's value and moves it on; the counters are atomic, so a call from a worker thread is safe too.
#pragma once

#include <cstdint>

namespace engine {

constexpr int32_t kFirstInternalPort = 47048;
constexpr int32_t kLastInternalPort = 65534;  // 65535 is never given out
constexpr int32_t kInternalPortRestart = 20000;

int32_t NextCaptureIndex();    // 0, 1, 2, ...: TCaptureListEntry.Idx
int32_t NextStreamerIndex();   // 1, 2, 3, ...: share numbers
int32_t NextWebSocketIndex();  // 1, ... ; the wsocket.xml reader sets it to idx + 1 after each entry
int32_t NextHttpServerIndex(); // 1, ... ; the httpserv.xml reader sets it to idx + 1 after each entry
void SetNextWebSocketIndex(int32_t value);
void SetNextHttpServerIndex(int32_t value);

// Local TCP port of a capture job: 47048, 47049, ..., 65534, 20000, 20001, ...
int32_t NextInternalPort();
// Sets the port counter back to kFirstInternalPort (done when framewick.ini is loaded).
void ResetInternalPort();

}  // namespace engine
