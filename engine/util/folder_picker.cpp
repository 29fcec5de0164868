#include "engine/util/folder_picker.h"

#include <filesystem>

namespace engine {
namespace {

bool IsExistingFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

bool BrowseForFolder(const std::string& Title, const std::string& Root, std::string& Dir, TFolderPicker& picker) {
    if (!IsExistingFolder(Dir)) Dir.clear();
    const std::string root = IsExistingFolder(Root) ? Root : std::string();
    const std::optional<std::string> chosen = picker.PickFolder(Title, root, Dir);
    if (!chosen) return false;
    Dir = *chosen;
    return true;
}

}  // namespace engine
