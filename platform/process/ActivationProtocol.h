// What a second start and the running instance say to each other over the activation socket: one
// request line, answered by one line once the running instance has taken it.
#pragma once

#include <string>

#include "platform/process/GlobalMutex.h"

namespace platform {

inline constexpr char kActivationRequest[] = "activate\n";
inline constexpr char kActivationAnswer[] = "ok\n";
// A client that sends more than this, or nothing for this long, is dropped.
constexpr int kMaxActivationRequestBytes = 64;
constexpr int kActivationReadTimeoutMs = 2000;

// The socket of the instance that holds mutexName: beside its lock file, "<lock name>.sock".
inline std::string ActivationServerName(const std::string& mutexName, const std::string& folder = GlobalLockFolder()) {
    std::string dir = folder;
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + LockNameOf(mutexName) + ".sock";
}

}  // namespace platform
