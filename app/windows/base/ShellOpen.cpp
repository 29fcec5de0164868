#include "app/windows/base/ShellOpen.h"

#include <QDesktopServices>
#include <QtDebug>

namespace app {

TShellOpener DesktopShellOpener() {
    return [](const QUrl& url) {
        if (!QDesktopServices::openUrl(url)) qWarning().noquote() << "[shell] cannot open" << url.toString();
    };
}

}  // namespace app
