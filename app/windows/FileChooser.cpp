#include "app/windows/FileChooser.h"

#include <QFileDialog>

#include "engine/util/path_utils.h"

namespace app {

std::optional<std::string> TQtFileChooser::BrowseForFolder(QWidget* parent, const std::string& title,
                                                           const std::string& preselected) {
    const QString folder = QFileDialog::getExistingDirectory(parent, QString::fromStdString(title),
                                                             QString::fromStdString(preselected));
    if (folder.isEmpty()) return std::nullopt;
    return engine::IncludeTrailingPathDelimiter(folder.toStdString());
}

std::optional<std::string> TQtFileChooser::OpenFile(QWidget* parent, const std::string& title,
                                                    const std::string& startFolder) {
    const QString file =
        QFileDialog::getOpenFileName(parent, QString::fromStdString(title), QString::fromStdString(startFolder));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

}  // namespace app
