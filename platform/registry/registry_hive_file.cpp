#include "platform/registry/registry_hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <set>

#include "platform/registry/registry_hive_text.h"
#include "platform/util/unique_fd.h"
#include "platform/util/whole_file.h"

namespace platform {

namespace {

// A hive is a few kilobytes; anything past this is not one of ours and is treated as damaged.
constexpr uint64_t kMaxHiveBytes = 64 * 1024 * 1024;

void LogRegistry(const std::string& file, const std::string& text) {
    std::fprintf(stderr, "[registry: %s] %s\n", file.c_str(), text.c_str());
}

// Every read of a damaged hive finds the same fault; it is reported once per process.
void LogRegistryOnce(const std::string& file, const std::string& text) {
    // Kept to the very end: hives may still be read while static objects are destroyed.
    static auto* mutex = new std::mutex;
    static auto* reported = new std::set<std::string>;
    std::lock_guard<std::mutex> guard(*mutex);
    if (reported->insert(file + "\n" + text).second) LogRegistry(file, text);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string TimeSuffix() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

// Holds an exclusive flock on the hive's lock file for its lifetime.
class HiveLock {
public:
    explicit HiveLock(const std::string& lockPath)
        : fd_(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (!fd_.Valid()) return;
        int rc;
        do rc = ::flock(fd_.Get(), LOCK_EX);
        while (rc != 0 && errno == EINTR);
        locked_ = rc == 0;
    }
    bool locked() const { return locked_; }

private:
    TUniqueFd fd_;
    bool locked_ = false;
};

}  // namespace

RegistryHiveFile::RegistryHiveFile(std::string folder, std::string fileName)
    : folder_(std::move(folder)), file_(folder_ + "/" + fileName) {}

RegistryHiveFile::State RegistryHiveFile::Load(RegistryHive& hive) const {
    hive = RegistryHive();
    std::string bytes;
    int error = 0;
    switch (ReadWholeFile(file_, bytes, &error, kMaxHiveBytes)) {
        case WholeFileRead::Missing: return State::Missing;
        case WholeFileRead::CannotOpen:
        case WholeFileRead::CannotRead:
            LogRegistryOnce(file_, std::string("cannot be read: ") + std::strerror(error));
            return State::Unreadable;
        case WholeFileRead::TooLarge:
            LogRegistryOnce(file_, "is too large to be a hive; read as empty");
            return State::Damaged;
        case WholeFileRead::Ok: break;
    }
    std::string why;
    auto parsed = ParseHive(bytes, &why);
    if (!parsed) {
        LogRegistryOnce(file_, "is damaged (" + why + "); read as empty");
        return State::Damaged;
    }
    hive = std::move(*parsed);
    return State::Loaded;
}

bool RegistryHiveFile::SetDamagedFileAside() const {
    std::string aside = file_ + ".damaged-" + TimeSuffix();
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(aside, ec); ++n) aside = file_ + ".damaged-" + TimeSuffix() + "-" + std::to_string(n);
    if (::rename(file_.c_str(), aside.c_str()) != 0) {
        LogRegistry(file_, std::string("damaged file cannot be set aside: ") + std::strerror(errno));
        return false;
    }
    LogRegistry(file_, "damaged file kept as " + aside);
    return true;
}

bool RegistryHiveFile::Modify(const std::function<bool(RegistryHive&)>& change) const {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    HiveLock lock(file_ + ".lock");
    if (!lock.locked()) {
        LogRegistry(file_, std::string("cannot be locked: ") + std::strerror(errno));
        return false;
    }
    RegistryHive hive;
    State state = Load(hive);
    // A file we cannot read may still hold data: never replace it.
    if (state == State::Unreadable) return false;
    if (!change(hive)) return false;
    if (state == State::Damaged && !SetDamagedFileAside()) return false;

    const std::string temp = file_ + ".tmp";
    TUniqueFd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!out.Valid()) {
        LogRegistry(file_, std::string("cannot be written: ") + std::strerror(errno));
        return false;
    }
    if (!WriteAll(out.Get(), FormatHive(hive)) || ::fsync(out.Get()) != 0 || !out.Close()) {
        LogRegistry(file_, std::string("cannot be written: ") + std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), file_.c_str()) != 0) {
        LogRegistry(file_, std::string("cannot be replaced: ") + std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    TUniqueFd dir(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) ::fsync(dir.Get());
    return true;
}

}  // namespace platform
