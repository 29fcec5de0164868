// The folder and file choosers of the dialogs' browse buttons. The dialogs reach them through this small
// class, so tests answer in place of the modal choosers.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace app {

class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // The chosen folder (with a trailing "/"), none when the user cancelled.
    virtual std::optional<std::string> BrowseForFolder(QWidget* parent, const std::string& title,
                                                       const std::string& preselected) = 0;
    // The chosen existing file, none when the user cancelled.
    virtual std::optional<std::string> OpenFile(QWidget* parent, const std::string& title,
                                                const std::string& startFolder) = 0;
};

// The platform's folder and file dialogs.
class TQtFileChooser final : public IFileChooser {
public:
    std::optional<std::string> BrowseForFolder(QWidget* parent, const std::string& title,
                                               const std::string& preselected) override;
    std::optional<std::string> OpenFile(QWidget* parent, const std::string& title,
                                        const std::string& startFolder) override;
};

}  // namespace app
