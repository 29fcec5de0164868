// The page editor: index.html of a web server as plain text; "Save" writes it back (a failed write
// is reported and keeps the editor open with its text). Its size and
// place are kept under "html_code".
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

namespace app {

class THtml_Form : public QDialog {
public:
    static constexpr const char* kPositionName = "html_code";
    static constexpr int kDefaultLeft = 80;
    static constexpr int kDefaultTop = 80;
    static constexpr int kDefaultWidth = 600;
    static constexpr int kDefaultHeight = 400;

    explicit THtml_Form(QWidget* parent = nullptr);

    std::string FileName;  // set by the caller before showing

    // Reads FileName into the memo; false (the memo emptied, LastError set) when it cannot be read.
    // The caller loads before each showing and shows the editor only after a success, so a file that
    // could not be read is never saved back empty.
    bool LoadFile();
    // Position and size, at each showing.
    void FormShow();

    QPlainTextEdit* HTML_Memo;
    QPushButton* Save_Btn;
    QPushButton* Cancel_Btn;
    QPushButton* Help_Btn;

    // The last failure to read or write FileName ("" after a success), for the caller and the tests.
    const std::string& LastError() const { return lastError_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void SaveClick();

    std::string lastError_;
};

}  // namespace app
