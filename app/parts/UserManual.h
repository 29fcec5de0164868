// The user manual: HelpIndexFile opened in the desktop's browser at an anchor.
#pragma once

#include <QUrl>
#include <string>

#include "app/windows/base/ShellOpen.h"

namespace app {

// "file:///" + helpIndexFile + anchor, every "\" turned into "/" and every blank into "%20".
QUrl UserManualUrl(const std::string& helpIndexFile, const std::string& anchor);

// A missing HelpIndexFile is told to the user instead.
void ShowUserManual(const std::string& anchor, const TShellOpener& open = DesktopShellOpener());

}  // namespace app
