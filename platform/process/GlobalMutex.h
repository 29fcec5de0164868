// The global mutex of a single-instance check: an exclusive, non-blocking flock on a lock file named
// after the mutex, in a folder that every user of the machine shares. The kernel drops the lock with
// the process, also when it crashes, so a file left behind never blocks the next start.
#pragma once

#include <string>

#include "platform/util/unique_fd.h"

namespace platform {

// "/tmp/", or the folder named by $FRAMEWICK_LOCK_DIR (tests give every program its own); ends in "/".
std::string GlobalLockFolder();

// The mutex name as a file name part: "\" and "/" become "_" ("Global\X" gives "Global_X").
std::string LockNameOf(const std::string& mutexName);

class TGlobalMutex {
public:
    // Tries to take the mutex at once; Owned() tells whether it was free.
    explicit TGlobalMutex(const std::string& mutexName, const std::string& folder = GlobalLockFolder());
    // Going, it releases the mutex (the lock file stays: removing it would race with a starting instance).
    TGlobalMutex(const TGlobalMutex&) = delete;
    TGlobalMutex& operator=(const TGlobalMutex&) = delete;

    // True when this object holds the mutex; false when another process holds it or the lock file
    // could not be opened (both mean: another instance may run).
    bool Owned() const { return fd_.Valid(); }
    // Why the mutex is not owned ("" when it is).
    const std::string& Error() const { return error_; }
    const std::string& LockFile() const { return lockFile_; }

private:
    std::string lockFile_;
    std::string error_;
    TUniqueFd fd_;
};

}  // namespace platform
