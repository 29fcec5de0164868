#include "engine/util/folder_picker.h"

#include "platform/util/file_checks.h"

namespace engine {

bool BrowseForFolder(const std::string& Title, const std::string& Root, std::string& Dir, TFolderPicker& picker) {
    if (!platform::IsFolder(Dir)) Dir.clear();
    const std::string root = platform::IsFolder(Root) ? Root : std::string();
    const std::optional<std::string> chosen = picker.PickFolder(Title, root, Dir);
    if (!chosen) return false;
    Dir = *chosen;
    return true;
}

}  // namespace engine
