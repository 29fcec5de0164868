// The settings dialog: every program-wide setting on four pages chosen from a tree on the left, and
// the three lists of the program (capture services, web servers, web sockets). The settings are read
// back on OK only (the browse buttons write theirs at once); the list buttons act at once on the live
// lists. Created once and reused: SelectPage(0), then a modal show, at each opening.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <string>

namespace app {

class IFileChooser;
class ISettingsFormHost;
class TCaptureServicePage;
class TGeneralSettingsPage;
class THttpServerEntry;
class THttpSetup_Form;
class TImageConversionPage;
class TMonitorCentring;
class TSetupWebSocket_Form;
class TWebServerPage;

class TSettings_Form : public QDialog {
public:
    static constexpr const char* kPositionName = "main_settings";
    static constexpr int kDefaultWidth = 640;
    static constexpr int kDefaultHeight = 530;
    static constexpr const char* kHelpAnchor = "#4.6.1.1%20General%20Settings";
    static constexpr int kNoPage = -1;
    static constexpr int kPageTreeWidthPx = 170;  // the tree at the left edge, the page beside it
    // The pages in tree order.
    enum : int { kPageGeneral = 0, kPageCaptureService = 1, kPageWebServer = 2, kPageImageConversion = 3 };

    TSettings_Form(ISettingsFormHost& host, THttpSetup_Form& httpSetup, TSetupWebSocket_Form& wsSetup,
                   IFileChooser& chooser, QWidget* parent = nullptr);

    // The tree collapsed but for the way to the first entry with that page, which is focused and whose
    // page is shown.
    void SelectPage(int pageIndex);
    // Every later showing centres the dialog on monitor number monitor, at the size it shows with.
    void CentreOnMonitor(int monitor) { centreMonitor_ = monitor; }
    // Adding and editing a web server, also used by the share editor.
    void AddHttpServer();
    void EditHttpServer(THttpServerEntry& entry, bool allowTest);

    // The page shown now (kNoPage for "Main Settings") and its caption.
    int CurrentPage() const { return currentPage_; }
    QString PageCaption() const { return PageCaption_Label->text(); }

    void FormShow();
    void OK_BitBtnClick();

    QTreeWidget* Set_VST;
    QLabel* PageCaption_Label;
    QStackedWidget* Settings_PageControl;
    TGeneralSettingsPage* TabSheet_General;
    TCaptureServicePage* TabSheet2;
    TWebServerPage* TabSheet1;
    TImageConversionPage* TabSheet3;
    QPushButton* OK_BitBtn;
    QPushButton* Cancel_BitBtn;
    QPushButton* Help_BitBtn;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildPageTree();
    void ShowPage(int index, bool visible, const QString& caption);
    void ShowFocusedPage();
    void DownloadVlc();
    void LeaveApp();

    ISettingsFormHost& host_;
    int currentPage_ = kNoPage;
    int centreMonitor_ = 0;  // 0: where the dialog would go by itself
    TMonitorCentring* centring_;
    QWidget* noPage_;  // shown for "Main Settings"
};

// "Framewick - Settings", with "[" + index + "] " before it from instance 1 on.
QString SettingsCaption(int instanceIndex);

}  // namespace app
