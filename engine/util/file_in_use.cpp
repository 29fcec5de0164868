#include "engine/util/file_in_use.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "platform/util/unique_fd.h"

namespace engine {
namespace {

enum class LeaseAnswer { kNoWriter, kWriter, kUnknown };

LeaseAnswer AskForReadLease(int fd) {
    // A writer that opens the file while the lease is held breaks it, and the kernel signals the
    // break. SIGIO, the default signal, would end the process; SIGURG is ignored unless handled.
    if (::fcntl(fd, F_SETSIG, SIGURG) != 0) return LeaseAnswer::kUnknown;
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return LeaseAnswer::kNoWriter;
    }
    // EAGAIN: open for writing somewhere. EACCES: not our file; EINVAL: no leases here.
    return errno == EAGAIN ? LeaseAnswer::kWriter : LeaseAnswer::kUnknown;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// One of this process's descriptors is open for writing on the file (dev, ino).
bool HeldForWritingHere(dev_t dev, ino_t ino) {
    std::unique_ptr<DIR, DirCloser> fds(::opendir("/proc/self/fd"));
    if (!fds) return false;
    const int listingFd = ::dirfd(fds.get());
    while (const dirent* entry = ::readdir(fds.get())) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == listingFd) continue;
        const int flags = ::fcntl(static_cast<int>(fd), F_GETFL);
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) continue;
        struct stat st {};
        if (::fstat(static_cast<int>(fd), &st) == 0 && st.st_dev == dev && st.st_ino == ino) return true;
    }
    return false;
}

bool ChangedRecently(const struct stat& st) {
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto Ns = [](const timespec& t) { return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec; };
    const long long window = std::chrono::duration_cast<std::chrono::nanoseconds>(kRecentWrite).count();
    const long long age = Ns(now) - Ns(st.st_mtim);
    // A time ahead of the clock (a network file system's skew) counts as recent only within the window.
    return age < window && age > -window;
}

// For a file whose lease the kernel will not tell. accessPath names the file for the access test.
bool InUseWithoutLease(const char* accessPath, const struct stat& st) {
    if (!S_ISREG(st.st_mode)) return true;
    if (::faccessat(AT_FDCWD, accessPath, W_OK, AT_EACCESS) != 0) return false;  // we may not write it
    return HeldForWritingHere(st.st_dev, st.st_ino) || ChangedRecently(st);
}

}  // namespace

bool IsOpenFileInUse(int fd) {
    switch (AskForReadLease(fd)) {
        case LeaseAnswer::kNoWriter: return false;
        case LeaseAnswer::kWriter: return true;
        case LeaseAnswer::kUnknown: break;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return InUseWithoutLease(self.c_str(), st);
}

bool IsFileInUse(const std::string& fileName) {
    struct stat st {};
    if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) return true;  // never opened: a FIFO would block, a device may act
    const platform::TUniqueFd fd(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid()) {
        if (errno == ENOENT) return false;     // gone since the stat
        if (errno == EWOULDBLOCK) return true;  // a writer holds a write lease on it
        return InUseWithoutLease(fileName.c_str(), st);
    }
    return IsOpenFileInUse(fd.Get());
}

}  // namespace engine
