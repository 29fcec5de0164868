// The program-wide run-time state the engine shares with the user interface: the closing and
// library-missing flags and the global lock.
//
// Flags are atomic and may be read from any thread. GlobalLock() is the one lock that serialises
// snapshot writing and web-server request handling; the thread that holds it may take it again.
#pragma once

#include <atomic>
#include <mutex>

namespace engine {

// Set from the first step of closing: handlers, threads and web requests skip their work.
inline std::atomic<bool> AppClosing{false};
// Set when no usable libVLC exists: no libVLC instance, new shares publish snapshots.
inline std::atomic<bool> VlcMissing{false};

std::recursive_mutex& GlobalLock();

}  // namespace engine
