// Every question and warning of the windows goes through these two calls: a modal message dialog with
// one, two or three buttons captioned by the caller (captions keep their blanks). The result is 1 for
// the first button, 2 for the second, 7 for the third, and 2 when the window is closed otherwise.
// Button2 of blanks only gives one button; Button3 counts only after a Button2.
#pragma once

#include <QString>

#include "components/MessageDialogForm.h"

namespace app {

// Results of ShowMsgDlg and ShowMsgDlgCheck.
constexpr int kMsgDlgButton1 = components::kModalResultOk;      // 1
constexpr int kMsgDlgButton2 = components::kModalResultCancel;  // 2, also the close box
constexpr int kMsgDlgButton3 = components::kModalResultNo;      // 7

// What one message dialog shows.
struct TMsgDlgRequest {
    components::TMsgDlgType DlgType = components::mtWarning;  // icon: 0 warning, 1 error, 2 information, 3 confirmation
    QString Caption;
    QString Text;
    int DefaultButton = 1;  // 1 to 3: the button that has the focus when the dialog shows
    QString Button1;
    QString Button2;
    QString Button3;
    bool ShowCheck = false;
    QString CheckCaption;
};

// The parameter order is the system's own: the buttons from the third to the first.
int ShowMsgDlg(components::TMsgDlgType dlgType, const QString& caption, const QString& text, int defaultButton,
               const QString& button3, const QString& button2, const QString& button1);

// As ShowMsgDlg, with a check box below the buttons when showCheck; checked is the box's state in and,
// whichever button closed the dialog, out. Without showCheck checked is left unchanged.
int ShowMsgDlgCheck(components::TMsgDlgType dlgType, const QString& caption, const QString& text, int defaultButton,
                    bool& checked, const QString& checkCaption, bool showCheck, const QString& button3,
                    const QString& button2, const QString& button1);

}  // namespace app
