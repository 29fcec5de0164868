// Asks the desktop to open an address or a folder with its own program. The windows take the opener as
// a parameter, so tests record what would have been opened.
#pragma once

#include <QUrl>
#include <functional>

namespace app {

using TShellOpener = std::function<void(const QUrl& url)>;

// Opens through the desktop's handler; a failure is logged (a link that cannot open is no error).
TShellOpener DesktopShellOpener();

}  // namespace app
