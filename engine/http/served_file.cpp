#include "engine/http/served_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "engine/util/file_in_use.h"

namespace engine {

void TServedFile::Close() {
    fd_.Reset();
    size_ = 0;
}

TServedFile::TOpenResult TServedFile::Open(const std::filesystem::path& path) {
    Close();
    platform::TUniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) return errno == ELOOP ? TOpenResult::NotRegular : TOpenResult::Failed;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return TOpenResult::Failed;
    if (!S_ISREG(st.st_mode)) return TOpenResult::NotRegular;
    fd_ = std::move(fd);
    size_ = static_cast<uint64_t>(st.st_size);
    path_ = path;
    return TOpenResult::Opened;
}

bool TServedFile::BeingWritten() const { return fd_.Valid() && IsOpenFileInUse(fd_.Get()); }

long TServedFile::ReadAt(uint64_t offset, char* buffer, size_t count) const {
    for (;;) {
        ssize_t n = ::pread(fd_.Get(), buffer, count, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<long>(n);
        if (errno != EINTR) return -1;
    }
}

}  // namespace engine
