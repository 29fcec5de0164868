// The standard message-dialog form: the icon of its dialog type, the message text and a row of OK,
// Cancel and No buttons (component names "OK", "Cancel", "No"; modal results 1, 2 and 7). Closing the
// window without a button, or Escape, gives 2. Widgets sit at fixed positions (no layout), so an owner
// such as TMsgDlg may relabel and re-place the buttons and widen the form.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

namespace components {

// Ordinals matter: the dialog wrappers pass them as numbers (0 warning .. 3 confirmation).
enum TMsgDlgType { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

enum TMsgDlgButtonSet { mbOK, mbOKCancel, mbOKCancelNo };

constexpr int kModalResultOk = 1;
constexpr int kModalResultCancel = 2;
constexpr int kModalResultNo = 7;

class TMessageDialogForm : public QDialog {
public:
    TMessageDialogForm(const QString& text, TMsgDlgType type, TMsgDlgButtonSet buttons,
                       QWidget* parent = nullptr);

    // Runs each time the form is shown, after the form's own focus has been given.
    void SetOnShow(std::function<void()> handler) { onShow_ = std::move(handler); }
    TMsgDlgType Type() const { return type_; }

    void reject() override;  // the close box and Escape: Cancel's result

protected:
    void showEvent(QShowEvent* event) override;

private:
    TMsgDlgType type_;
    std::function<void()> onShow_;
};

}  // namespace components
