#include "common/HtmlHelp.h"

#include <QFileInfo>

#include "common/MsgDlgWrappers.h"

namespace app {

namespace {

void ShowHelpError(const char* text) {
    ShowMsgDlg(components::mtError, QStringLiteral("Error"), QString::fromLatin1(text), 1, QString(), QString(),
               QStringLiteral("OK"));
}

}  // namespace

void ShowHelpFileNotFound() { ShowHelpError("Helpfile not found !"); }

bool ShowHtmlHelp(int /*helpContext*/, const QString& helpFile) {
    if (helpFile.isEmpty() || !QFileInfo::exists(helpFile)) {
        ShowHelpFileNotFound();
        return false;
    }
    // The context would go to the help viewer, which this platform does not have.
    ShowHelpError("Help not available !");
    return false;
}

}  // namespace app
