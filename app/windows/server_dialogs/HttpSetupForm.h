// The web-server dialog: name, address and port, start flag, external server, authentication, root
// folder, extra files and the index page of one web server. The caller fills the controls and the
// two fields before showing it and reads them back after OK; OK is refused while the root folder
// neither exists nor can be made. "Test" listens for a moment on the address and port typed, with a
// server of its own, and says whether that worked; the program's web servers are not touched.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <string>

#include "app/windows/base/IpAddrPortFrame.h"

namespace app {

class IFileChooser;
class THtml_Form;

class THttpSetup_Form : public QDialog {
public:
    using THelpFunction = std::function<void(const std::string& anchor)>;

    static constexpr int kRootLabelWidthPx = 430;
    static constexpr int kIndexLabelWidthPx = 400;
    static constexpr const char* kHelpAnchor = "#4.6.1.2 Web-Server Settings";

    THttpSetup_Form(IFileChooser& chooser, THtml_Form& htmlForm, THelpFunction showHelp, QWidget* parent = nullptr);

    std::string RootPath;   // set by the caller before showing, read back after OK
    std::string IndexFile;  // likewise: the index page template

    // IdxHtml_Label := IndexFile shortened for display.
    void ShowIndexFile();
    // The extra files shown in File_ListBox.
    void SetFileList(const std::vector<std::string>& files);
    std::vector<std::string> FileList() const;

    QLineEdit* Name_Edit;
    TMod_IpAddr_Port_Frame* HttpAddr_Port_Frame;
    QCheckBox* Active_CB;
    QCheckBox* Ext_CB;
    QCheckBox* Login_CB;
    QLineEdit* User_Edit;
    QLineEdit* Pw_Edit;
    QLabel* Root_Label;
    QPushButton* LogPath_SB;
    QListWidget* File_ListBox;
    QPushButton* AddFile_TB;
    QPushButton* DelFile_TB;
    QLabel* IdxHtml_Label;
    QPushButton* IdxFile_TB;
    QPushButton* EditIdx_TB;
    QPushButton* OK_BitBtn;
    QPushButton* Cancel_BitBtn;
    QPushButton* Help_BitBtn;
    QPushButton* Test_TB;

    // The handlers of the buttons.
    void LogPath_SBClick();
    void IdxFile_TBClick();
    void EditIdx_TBClick();
    void AddFile_TBClick();
    void DelFile_TBClick();
    void Test_TBClick();
    void OK_BitBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowRootPath();

    IFileChooser& chooser_;
    THtml_Form& htmlForm_;
    THelpFunction showHelp_;
};

}  // namespace app
