// The log window of the share editor's FTP check: one line per step, an OK button. It is modal over
// its parent, the share editor, which stays disabled behind it; closing it (OK or the close box) runs
// OnClosed, which enables the share editor again.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

namespace app {

class TFtpLog_Form : public QDialog {
public:
    explicit TFtpLog_Form(QWidget* parent = nullptr);

    // Shows the window, centred on the screen, with an empty memo; the caller goes on while it is up.
    void FormShow();
    void AddLine(const QString& text);

    QPlainTextEdit* Log_Memo;
    QPushButton* BitBtn1;
    std::function<void()> OnClosed;

protected:
    void done(int result) override;
};

}  // namespace app
