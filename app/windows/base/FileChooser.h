// The folder and file choosers of the dialogs' browse buttons. The dialogs reach them through this small
// class (the folder picker through engine::BrowseForFolder), so tests answer in place of the modal
// choosers.
#pragma once

#include <optional>
#include <string>

#include "engine/util/folder_picker.h"

class QWidget;

namespace app {

class IFileChooser : public engine::TFolderPicker {
public:
    // The chosen existing file, none when the user cancelled.
    virtual std::optional<std::string> OpenFile(QWidget* parent, const std::string& title,
                                                const std::string& startFolder) = 0;
};

// The platform's folder and file dialogs. The folder picker is a folder dialog modal over the
// application that opens on the start folder, or on the root when there is one and the start folder
// does not lie below it; with a root it neither goes above it nor returns a folder outside it.
class TQtFileChooser final : public IFileChooser {
public:
    std::optional<std::string> PickFolder(const std::string& title, const std::string& root,
                                          const std::string& start) override;
    std::optional<std::string> OpenFile(QWidget* parent, const std::string& title,
                                        const std::string& startFolder) override;
};

// Whether path is root or a folder below it (by name, after making both absolute and clean).
bool IsFolderBelow(const std::string& path, const std::string& root);

}  // namespace app
