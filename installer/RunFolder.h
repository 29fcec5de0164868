// The private working folder of one download: made fresh by mkdtemp (mode 0700) below the temporary
// folder, it holds the archive and the extraction folder. Nothing that was there before can be in it,
// and no other user can put anything into it or look inside, so only what this download's archive
// held can be installed. It is removed with everything in it by Remove or, at the latest, when the
// last holder lets go; the download and extraction threads hold it while they run, so nothing is
// removed under them.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "installer/DownloadNaming.h"

namespace hollarin {

constexpr const char* kRunFolderPrefix = "hollarin-";

class TRunFolder {
public:
    // A new folder below tempFolder ("": the system's temporary folder). Null, with *error, when it
    // cannot be made.
    static std::shared_ptr<TRunFolder> Create(const std::string& tempFolder, std::string* error);
    ~TRunFolder();
    TRunFolder(const TRunFolder&) = delete;
    TRunFolder& operator=(const TRunFolder&) = delete;

    const std::string& Folder() const { return folder_; }  // with a trailing "/"
    const TDownloadPaths& Paths() const { return paths_; }

    // Deletes the folder with everything in it now; once only. Call it when no thread works in it any
    // more, or when the process ends at once anyway.
    void Remove();

private:
    explicit TRunFolder(std::string folder);

    const std::string folder_;
    const TDownloadPaths paths_;
    std::atomic<bool> removed_{false};
};

}  // namespace hollarin
