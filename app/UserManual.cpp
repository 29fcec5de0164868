#include "app/UserManual.h"

#include "app/settings/app_paths.h"

namespace app {

QUrl UserManualUrl(const std::string& helpIndexFile, const std::string& anchor) {
    QString text = QString::fromStdString("file:///" + helpIndexFile + anchor);
    text.replace('\\', '/').replace(' ', QStringLiteral("%20"));
    // A path that starts with "/" already would give four slashes.
    text.replace(QStringLiteral("file:////"), QStringLiteral("file:///"));
    return QUrl(text, QUrl::TolerantMode);
}

void ShowUserManual(const std::string& anchor, const TShellOpener& open) {
    if (open) open(UserManualUrl(AppPaths()->HelpIndexFile, anchor));
}

}  // namespace app
