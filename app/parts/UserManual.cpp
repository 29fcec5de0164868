#include "app/parts/UserManual.h"

#include <QFileInfo>

#include "app/settings/app_paths.h"
#include "common/HtmlHelp.h"

namespace app {

QUrl UserManualUrl(const std::string& helpIndexFile, const std::string& anchor) {
    QString text = QString::fromStdString("file:///" + helpIndexFile + anchor);
    text.replace('\\', '/').replace(' ', QStringLiteral("%20"));
    // A path that starts with "/" already would give four slashes.
    text.replace(QStringLiteral("file:////"), QStringLiteral("file:///"));
    return QUrl(text, QUrl::TolerantMode);
}

void ShowUserManual(const std::string& anchor, const TShellOpener& open) {
    const std::string& helpIndexFile = AppPaths()->HelpIndexFile;
    // Without the file the desktop's opener would fail out of sight.
    if (!QFileInfo::exists(QString::fromStdString(helpIndexFile))) {
        ShowHelpFileNotFound();
        return;
    }
    if (open) open(UserManualUrl(helpIndexFile, anchor));
}

}  // namespace app
