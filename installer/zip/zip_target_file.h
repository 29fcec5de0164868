// The file (or folder) an entry is written to. The folders of the path are entered or created one by
// one; below the target root no symbolic link is followed. A file's data goes to a temporary name in its
// folder, made with O_EXCL | O_NOFOLLOW, and is renamed over the final name only once it is complete and
// checked; until then the final name is untouched, and a failed extraction leaves nothing behind.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/util/unique_fd.h"

namespace hollarin {

class TZipTargetFile {
public:
    // archive: for log lines.
    explicit TZipTargetFile(std::string archive) : archive_(std::move(archive)) {}
    ~TZipTargetFile();
    TZipTargetFile(const TZipTargetFile&) = delete;
    TZipTargetFile& operator=(const TZipTargetFile&) = delete;

    // Creates the folder chain of outName ("/" between components; a name ending in "/" is a folder)
    // and, for a file, the temporary file. root (may be empty): the folder outName must lie below.
    bool Prepare(const std::string& outName, const std::string& root);
    bool IsFolder() const { return folder_; }

    bool Write(const uint8_t* data, size_t n);
    // Finishes the file: modification time (when known), read-only when asked, closed and renamed.
    bool Commit(const time_t* modified, bool readOnly);

private:
    bool OpenFolder(int parent, const std::string& name, bool followLinks, platform::TUniqueFd& out);
    void RemoveTemp();

    std::string archive_;
    std::string outName_;
    bool folder_ = false;
    platform::TUniqueFd dir_;   // the folder the file goes into
    platform::TUniqueFd file_;  // the temporary file
    std::string leaf_;
    std::string tempName_;
};

}  // namespace hollarin
