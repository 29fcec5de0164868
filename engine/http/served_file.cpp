#include "engine/http/served_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "engine/util/file_in_use.h"

namespace engine {

TServedFile::~TServedFile() { Close(); }

TServedFile::TServedFile(TServedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_), path_(std::move(other.path_)) {}

TServedFile& TServedFile::operator=(TServedFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
        path_ = std::move(other.path_);
    }
    return *this;
}

void TServedFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

TServedFile::TOpenResult TServedFile::Open(const std::filesystem::path& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? TOpenResult::NotRegular : TOpenResult::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return TOpenResult::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return TOpenResult::NotRegular;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(st.st_size);
    path_ = path;
    return TOpenResult::Opened;
}

bool TServedFile::BeingWritten() const { return fd_ >= 0 && IsOpenFileInUse(fd_); }

long TServedFile::ReadAt(uint64_t offset, char* buffer, size_t count) const {
    for (;;) {
        ssize_t n = ::pread(fd_, buffer, count, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) return -1;
    }
}

}  // namespace engine
