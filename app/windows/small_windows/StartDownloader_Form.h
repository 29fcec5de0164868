// The notice offering the libVLC downloader: a read-only text, "Start Downloader" (the default, OK)
// and "Exit" (Cancel), and the box "do not show again", which shows only while ShowAgain is set.
// Closing sets ShowAgain to the opposite of the box's state.
#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace app {

class TStartDownloader_Form : public QDialog {
public:
    explicit TStartDownloader_Form(QWidget* parent = nullptr);

    bool ShowAgain() const { return showAgain_; }
    void SetShowAgain(bool value) { showAgain_ = value; }

    QCheckBox* ShowAgainCB() const { return showAgainCB_; }
    QPlainTextEdit* Memo() const { return memo_; }
    QPushButton* StartButton() const { return startButton_; }
    QPushButton* ExitButton() const { return exitButton_; }

protected:
    void showEvent(QShowEvent* event) override;  // FormShow
    void done(int result) override;              // FormClose, whichever way it closes

private:
    bool showAgain_ = false;
    QPlainTextEdit* memo_;
    QPushButton* startButton_;
    QPushButton* exitButton_;
    QCheckBox* showAgainCB_;
};

}  // namespace app
