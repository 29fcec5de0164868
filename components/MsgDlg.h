// A modal message box with one, two or three buttons whose captions the caller chooses, all 80 x 25
// pixels, 20 pixels apart and centred, in a window that stays on top. It takes the standard
// message-dialog form for the icon and text of its type and relabels and re-places that form's OK,
// Cancel and No buttons. The caller assigns DialogShow as the form's show handler, runs the form modally
// and reads its result: 1 for the first button, 2 for the second, 7 for the third, 2 when the window is
// closed without a button.
#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>
#include <memory>

#include "components/MessageDialogForm.h"

namespace components {

class TMsgDlg {
public:
    static constexpr int kButtonWidthPx = 80;
    static constexpr int kButtonHeightPx = 25;
    static constexpr int kButtonGapPx = 20;

    // A second caption of blanks only gives one button; a third caption counts only after a second.
    TMsgDlg(TMsgDlgType dlgType, const QString& caption, const QString& text, const QString& button1Caption,
            const QString& button2Caption, const QString& button3Caption, int defaultButton);
    ~TMsgDlg();
    TMsgDlg(const TMsgDlg&) = delete;
    TMsgDlg& operator=(const TMsgDlg&) = delete;

    TMessageDialogForm* Form() const { return form_.get(); }

    // The show handler: focuses the default button (1 OK, 2 Cancel, 3 No) when it exists; any other value
    // keeps the standard form's own focus.
    void DialogShow();

private:
    QPushButton* FindButton(const QString& name) const;

    int defaultButton_;
    std::unique_ptr<TMessageDialogForm> form_;
    QPointer<QPushButton> okButton_;
    QPointer<QPushButton> cancelButton_;
    QPointer<QPushButton> noButton_;
};

}  // namespace components
