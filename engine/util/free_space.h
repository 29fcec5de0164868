// Free disk space of the drive that holds a folder. A failed query is a failure, never "0 bytes free":
// callers that stop captures on low space must not stop them because the query failed.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace engine {

class IFreeSpaceQuery {
public:
    virtual ~IFreeSpaceQuery() = default;
    // Bytes available to this user on the file system of path; none when the query failed.
    virtual std::optional<uint64_t> FreeBytes(const std::string& path) = 0;
};

// statvfs on the path.
class TStatvfsFreeSpace : public IFreeSpaceQuery {
public:
    std::optional<uint64_t> FreeBytes(const std::string& path) override;
};

// Answers what the test set: a number of bytes, or a failed query (none).
class TFakeFreeSpace : public IFreeSpaceQuery {
public:
    explicit TFakeFreeSpace(std::optional<uint64_t> bytes = std::nullopt) : bytes_(bytes) {}
    void Set(std::optional<uint64_t> bytes) {
        std::lock_guard lock(mutex_);
        bytes_ = bytes;
    }
    std::optional<uint64_t> FreeBytes(const std::string&) override {
        std::lock_guard lock(mutex_);
        return bytes_;
    }

private:
    std::mutex mutex_;
    std::optional<uint64_t> bytes_;
};

// The process-wide query (statvfs unless a test set another one).
std::shared_ptr<IFreeSpaceQuery> CurrentFreeSpaceQuery();
void SetCurrentFreeSpaceQuery(std::shared_ptr<IFreeSpaceQuery> query);

}  // namespace engine
