// The log window of the share editor's FTP check: one line per step, an OK button. Closing it (OK or
// the close box) runs OnClosed, which enables the share editor again.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

namespace app {

class TFtpLog_Form : public QDialog {
public:
    explicit TFtpLog_Form(QWidget* parent = nullptr);

    // Shows the window (not modal), centred on the screen, with an empty memo.
    void FormShow();
    void AddLine(const QString& text);

    QPlainTextEdit* Log_Memo;
    QPushButton* BitBtn1;
    std::function<void()> OnClosed;

protected:
    void done(int result) override;
};

}  // namespace app
