#include "common/MsgDlgWrappers.h"

#include <QCheckBox>

#include "components/MsgDlg.h"

namespace app {

namespace {

constexpr int kCheckBoxMarginPx = 5;
constexpr int kCheckBoxWidthShortfallPx = 20;  // the box is this much narrower than the form

// The check box below the buttons: the form grows by the box's height + 5 and the box sits 5 pixels
// above the new bottom edge.
QCheckBox* AddCheckBox(components::TMessageDialogForm& form, const QString& caption, bool checked) {
    auto* box = new QCheckBox(caption, &form);
    box->setObjectName(QStringLiteral("Check"));
    box->setChecked(checked);
    const int boxHeight = box->sizeHint().height();
    form.setFixedSize(form.width(), form.height() + boxHeight + kCheckBoxMarginPx);
    box->setGeometry(kCheckBoxMarginPx, form.height() - boxHeight - kCheckBoxMarginPx,
                     form.width() - kCheckBoxWidthShortfallPx, boxHeight);
    return box;
}

int Run(const TMsgDlgRequest& request, bool& checked) {
    components::TMsgDlg dlg(request.DlgType, request.Caption, request.Text, request.Button1, request.Button2,
                            request.Button3, request.DefaultButton);
    components::TMessageDialogForm* form = dlg.Form();
    form->SetOnShow([&dlg] { dlg.DialogShow(); });
    QCheckBox* box = request.ShowCheck ? AddCheckBox(*form, request.CheckCaption, checked) : nullptr;
    const int result = form->exec();
    if (box) checked = box->isChecked();
    return result;
}

TMsgDlgRequest MakeRequest(components::TMsgDlgType dlgType, const QString& caption, const QString& text,
                           int defaultButton, const QString& button3, const QString& button2,
                           const QString& button1) {
    TMsgDlgRequest request;
    request.DlgType = dlgType;
    request.Caption = caption;
    request.Text = text;
    request.DefaultButton = defaultButton;
    request.Button1 = button1;
    request.Button2 = button2;
    request.Button3 = button3;
    return request;
}

}  // namespace

int ShowMsgDlg(components::TMsgDlgType dlgType, const QString& caption, const QString& text, int defaultButton,
               const QString& button3, const QString& button2, const QString& button1) {
    bool unused = false;
    return Run(MakeRequest(dlgType, caption, text, defaultButton, button3, button2, button1), unused);
}

int ShowMsgDlgCheck(components::TMsgDlgType dlgType, const QString& caption, const QString& text, int defaultButton,
                    bool& checked, const QString& checkCaption, bool showCheck, const QString& button3,
                    const QString& button2, const QString& button1) {
    TMsgDlgRequest request = MakeRequest(dlgType, caption, text, defaultButton, button3, button2, button1);
    if (!showCheck) {
        bool unused = checked;
        return Run(request, unused);
    }
    request.ShowCheck = true;
    request.CheckCaption = checkCaption;
    return Run(request, checked);
}

}  // namespace app
