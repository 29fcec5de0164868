#include "app/windows/base/FileChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace app {
namespace {

// A folder dialog that stays below its root: entering a folder above it leads back to the root, and a
// folder outside it is not accepted.
class TRootedFolderDialog final : public QFileDialog {
public:
    TRootedFolderDialog(QWidget* parent, const QString& title, QString root)
        : QFileDialog(parent, title), root_(std::move(root)) {
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        setOption(QFileDialog::DontUseNativeDialog);  // the root holds only in Qt's own dialog
        setWindowModality(Qt::ApplicationModal);
        if (root_.isEmpty()) return;
        setSidebarUrls({QUrl::fromLocalFile(root_)});
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& folder) {
            if (!IsFolderBelow(folder.toStdString(), root_.toStdString())) setDirectory(root_);
        });
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        const bool outside =
            !root_.isEmpty() && (chosen.isEmpty() || !IsFolderBelow(chosen.first().toStdString(), root_.toStdString()));
        if (outside) {
            setDirectory(root_);
            return;
        }
        QFileDialog::accept();
    }

private:
    const QString root_;
};

}  // namespace

bool IsFolderBelow(const std::string& path, const std::string& root) {
    const QString folder = QDir::cleanPath(QDir(QString::fromStdString(path)).absolutePath());
    const QString base = QDir::cleanPath(QDir(QString::fromStdString(root)).absolutePath());
    return folder == base || folder.startsWith(base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/'));
}

std::optional<std::string> TQtFileChooser::PickFolder(const std::string& title, const std::string& root,
                                                      const std::string& start) {
    TRootedFolderDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                               QString::fromStdString(root));
    const bool startInside = !start.empty() && (root.empty() || IsFolderBelow(start, root));
    const std::string opensOn = startInside ? start : root;
    if (!opensOn.empty()) dialog.setDirectory(QString::fromStdString(opensOn));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::cleanPath(dialog.selectedFiles().first()).toStdString();
}

std::optional<std::string> TQtFileChooser::OpenFile(QWidget* parent, const std::string& title,
                                                    const std::string& startFolder) {
    const QString file =
        QFileDialog::getOpenFileName(parent, QString::fromStdString(title), QString::fromStdString(startFolder));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

}  // namespace app
