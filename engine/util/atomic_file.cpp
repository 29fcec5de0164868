#include "engine/util/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/util/unique_fd.h"

#include "engine/util/path_utils.h"

namespace engine {

namespace {
std::atomic<unsigned> g_tempCounter{0};

std::string Describe(const char* step, const std::string& path) {
    return std::string(step) + " \"" + path + "\": " + std::strerror(errno);
}
// The errors of creating a file that come from the folder's own permissions or mount, not from the
// disk or the process: the file itself may be writable, yet it can be replaced only through a new
// file beside it.
bool FolderRefusesNewFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// The temporary file of a write, removed when the write does not reach its rename.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TTemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    // The file has been renamed to its final name.
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

}  // namespace

std::string TemporaryNameFor(const std::string& path) {
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(g_tempCounter.fetch_add(1));
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error, mode_t fileMode) {
    auto fail = [&](const std::string& text) {
        if (error) *error = text;
        return false;
    };
    const std::string temp = TemporaryNameFor(path);
    platform::TUniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, fileMode));
    if (!fd.Valid() && FolderRefusesNewFiles(errno))
        return fail("cannot write \"" + path + "\": the folder \"" + ExtractFilePath(path) + "\" is read-only (" +
                    std::strerror(errno) + ")");
    if (!fd.Valid()) return fail(Describe("cannot create", temp));
    TTemporaryFile pending(temp);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd.Get(), p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(Describe("cannot write", temp));
        p += n;
        left -= static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd.Get()) == 0;
    if (!fd.Close() || !synced) return fail(Describe("cannot flush", temp));
    if (::rename(temp.c_str(), path.c_str()) != 0) return fail(Describe("cannot replace", path));
    pending.Keep();
    return true;
}

bool WriteUserFileAtomic(const std::string& path, std::string_view bytes, std::string* error, mode_t fileMode) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        if ((old.st_mode & kAnyWriteBit) == 0) {
            if (error) *error = "cannot replace \"" + path + "\": the file is read-only";
            return false;
        }
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            if (error) *error = Describe("cannot replace", path);
            return false;
        }
        fileMode &= old.st_mode & kPermissionBits;
    }
    return WriteFileAtomic(path, bytes, error, fileMode);
}

}  // namespace engine
