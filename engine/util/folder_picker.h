// The shell's folder picker and BrowseForFolder, the routine the dialogs' browse buttons call. The
// engine only names the picker; the program's user-interface layer supplies the dialog
// (app/windows/base/FileChooser.h), and tests answer in its place.
#pragma once

#include <optional>
#include <string>

namespace engine {

class TFolderPicker {
public:
    virtual ~TFolderPicker() = default;
    // Modal over the application. root: "" (the whole file system) or an existing folder that the
    // picker does not leave; start: "" or an existing folder to open on (ignored when it lies outside
    // root). The chosen folder's path; none when the user cancelled.
    virtual std::optional<std::string> PickFolder(const std::string& title, const std::string& root,
                                                  const std::string& start) = 0;
};

// True, with Dir the chosen folder (as the picker gives it), when the user chose one. False on cancel,
// Dir then unchanged, except that a Dir that names no existing folder is emptied before the picker
// opens (so it opens without a preselection). A Root that names no existing folder means no root.
// User-interface thread only.
bool BrowseForFolder(const std::string& Title, const std::string& Root, std::string& Dir, TFolderPicker& picker);

}  // namespace engine
