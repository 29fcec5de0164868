#include "components/MsgDlg.h"

#include <QList>

namespace components {

TMsgDlg::TMsgDlg(TMsgDlgType dlgType, const QString& caption, const QString& text, const QString& button1Caption,
                 const QString& button2Caption, const QString& button3Caption, int defaultButton)
    : defaultButton_(defaultButton) {
    int n = 1;
    if (!button2Caption.trimmed().isEmpty()) {
        n = 2;
        if (!button3Caption.trimmed().isEmpty()) n = 3;
    }
    const TMsgDlgButtonSet buttons = n == 1 ? mbOK : n == 2 ? mbOKCancel : mbOKCancelNo;
    form_ = std::make_unique<TMessageDialogForm>(text, dlgType, buttons);
    form_->setWindowFlag(Qt::WindowStaysOnTopHint, true);

    const int minWidth = n * kButtonWidthPx + (n + 1) * kButtonGapPx;
    if (form_->width() < minWidth) form_->setFixedSize(minWidth, form_->height());
    const int x0 = (form_->width() - n * kButtonWidthPx - (n - 1) * kButtonGapPx) / 2;

    form_->setWindowTitle(caption);

    okButton_ = FindButton(QStringLiteral("Ok"));
    cancelButton_ = FindButton(QStringLiteral("Cancel"));
    noButton_ = FindButton(QStringLiteral("No"));

    // Each button keeps the vertical position the standard form gave it.
    auto place = [](QPushButton* button, const QString& text, int left) {
        button->setText(text);
        button->setGeometry(left, button->y(), kButtonWidthPx, kButtonHeightPx);
    };
    if (okButton_) place(okButton_, button1Caption, x0);
    if (n > 1 && cancelButton_) {
        const int left = okButton_ ? okButton_->x() + okButton_->width() + kButtonGapPx : x0;
        place(cancelButton_, button2Caption, left);
    }
    if (n > 2 && noButton_) {
        const int left = cancelButton_ ? cancelButton_->x() + cancelButton_->width() + kButtonGapPx : x0;
        place(noButton_, button3Caption, left);
    }
}

TMsgDlg::~TMsgDlg() = default;

QPushButton* TMsgDlg::FindButton(const QString& name) const {
    const QList<QObject*> children = form_->findChildren<QObject*>();
    for (QObject* child : children) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return qobject_cast<QPushButton*>(child);  // a component of that name that is no button: none
    }
    return nullptr;
}

void TMsgDlg::DialogShow() {
    QPushButton* target = defaultButton_ == 1   ? okButton_.data()
                          : defaultButton_ == 2 ? cancelButton_.data()
                          : defaultButton_ == 3 ? noButton_.data()
                                                : nullptr;
    if (target) target->setFocus();
}

}  // namespace components
