// The help launcher. There is no HTML Help viewer on this platform: with no help file the user is told
// "Helpfile not found !", with one "Help not available !"; either way the result is false.
#pragma once

#include <QString>

namespace app {

// helpFile is the application's help file; the program sets none.
bool ShowHtmlHelp(int helpContext, const QString& helpFile = QString());

// Tells the user that the help file is missing ("Helpfile not found !"), wherever help was asked for.
void ShowHelpFileNotFound();

}  // namespace app
