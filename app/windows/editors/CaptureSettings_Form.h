// The modal window of the capture-service editor: the editor frame above OK, Cancel and Help. Created
// once and reused; its place and the share list's width are kept in the registry.
#pragma once

#include <QDialog>
#include <QPushButton>

#include "app/windows/editors/Setup_ScreenCapture_Frame.h"

namespace app {

constexpr const char* kCaptureSettingsPositionName = "capture_settings";
constexpr const char* kShareListName = "streamer_vst";
constexpr int kCaptureSettingsSizePx = 560;
constexpr int kShareListDefaultWidthPx = 100;

class TCaptureSettings_Form : public QDialog {
public:
    explicit TCaptureSettings_Form(TCaptureEditorContext context, QWidget* parent = nullptr);

    // Place and column widths (at every showing); their saving (at every closing).
    void FormShow();
    void FormClose();
    void LoadColumnWidths();
    void SaveColumnWidths();
    // Refuses a capture without shares with a message; otherwise closes with OK.
    void OK_BitBtnClick();

    TSetup_ScreenCapture_Frame* Setup_ScreenCapture_Frame1;
    QPushButton* OK_BitBtn;
    QPushButton* Cancel_BitBtn;
    QPushButton* Help_BitBtn;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
};

}  // namespace app
