#include "installer/RunFolder.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <stdlib.h>

#include "engine/util/folder_ops.h"
#include "engine/util/path_utils.h"
#include "installer/InstallerLog.h"

namespace hollarin {

std::shared_ptr<TRunFolder> TRunFolder::Create(const std::string& tempFolder, std::string* error) {
    const std::string parent = engine::IncludeTrailingPathDelimiter(tempFolder.empty() ? SystemTempFolder() : tempFolder);
    const std::string pattern = parent + kRunFolderPrefix + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name nobody could know beforehand.
    if (::mkdtemp(name.data()) == nullptr) {
        if (error) *error = "cannot make a folder in " + parent + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::shared_ptr<TRunFolder>(new TRunFolder(engine::IncludeTrailingPathDelimiter(name.data())));
}

TRunFolder::TRunFolder(std::string folder) : folder_(std::move(folder)), paths_(DownloadPaths(folder_)) {}

TRunFolder::~TRunFolder() { Remove(); }

void TRunFolder::Remove() {
    if (removed_.exchange(true)) return;
    if (!engine::DeleteFolder(folder_)) InstallerLog("download", "cannot delete the working folder " + folder_);
}

}  // namespace hollarin
