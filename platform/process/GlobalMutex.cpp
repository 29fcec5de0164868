#include "platform/process/GlobalMutex.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {

namespace {

// Every user may open the file to lock it; the lock, not the content, is what counts.
constexpr mode_t kLockFileMode = 0666;

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

int OpenLockFile(const std::string& path) {
    // O_NOFOLLOW: a link planted at the lock's name in a shared folder is refused, not followed.
    // O_CLOEXEC: a program started by this one must not inherit (and so keep) the lock.
    const int flags = O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | flags, kLockFileMode);
    if (fd >= 0) {
        ::fchmod(fd, kLockFileMode);  // against the umask; fails harmlessly on another user's file
        return fd;
    }
    // Another user's file may be read-only for us; a read-only descriptor can be locked as well.
    if (errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | flags);
    return fd;
}

}  // namespace

std::string GlobalLockFolder() {
    if (const char* dir = std::getenv("FRAMEWICK_LOCK_DIR"); dir && *dir) return WithTrailingSlash(dir);
    return "/tmp/";
}

std::string LockNameOf(const std::string& mutexName) {
    std::string name = mutexName;
    for (char& c : name)
        if (c == '\\' || c == '/') c = '_';
    return name;
}

TGlobalMutex::TGlobalMutex(const std::string& mutexName, const std::string& folder)
    : lockFile_(WithTrailingSlash(folder) + LockNameOf(mutexName) + ".lock") {
    TUniqueFd fd(OpenLockFile(lockFile_));
    if (!fd.Valid()) {
        error_ = "cannot open " + lockFile_ + " : " + std::strerror(errno);
        return;
    }
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        error_ = errno == EWOULDBLOCK ? "held by another process" : std::string("flock : ") + std::strerror(errno);
        return;
    }
    fd_ = std::move(fd);  // closing the last descriptor releases the lock
}

}  // namespace platform
