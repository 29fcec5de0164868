// Steps for a ModalDriver through the share list of the capture-service editor, as the user takes
// them: Add Share with the share editor filled in and OK pressed (a refused OK then cancelled once its
// message box was answered), and Delete Share of the last row.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <string>

#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/Setup_ScreenCapture_Frame.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "tests/common/dialog_test_support.h"

namespace fw_test {

struct TShareAdd {
    std::string SubDir;
    int ServerRow = 0;     // in the share editor's web-server choice
    bool Refused = false;  // the share editor's OK shows a message and stays open
};

inline int ShareRows(app::TCaptureSettings_Form& editor) {
    return editor.Setup_ScreenCapture_Frame1->Streamer_VST->topLevelItemCount();
}

// refusalShown: true once the message box of a refused OK has been answered; editorReady: the capture
// editor is done with what came before (none: as soon as it is up).
inline void QueueShareAdd(ModalDriver& modal, const TShareAdd& add, std::function<bool()> refusalShown = {},
                          std::function<bool(app::TCaptureSettings_Form&)> editorReady = {}) {
    modal.On<app::TCaptureSettings_Form>(
        [](app::TCaptureSettings_Form& editor) { UserClick(*editor.Setup_ScreenCapture_Frame1->AddPort_BitBtn); },
        std::move(editorReady));
    modal.On<app::TScreenCapture_StreameSet_Form>([add](app::TScreenCapture_StreameSet_Form& share) {
        share.Active_CB->setChecked(true);
        share.WebServerPage->WebServer_ComboBox->setCurrentIndex(add.ServerRow);
        share.WebServerPage->LocalDir_Edit->setText(QString::fromStdString(add.SubDir));
        UserClick(*share.OK_BitBtn);
    });
    if (add.Refused)
        modal.On<app::TScreenCapture_StreameSet_Form>(
            [](app::TScreenCapture_StreameSet_Form& share) { UserClick(*share.Cancel_BitBtn); },
            [refusalShown](app::TScreenCapture_StreameSet_Form&) { return !refusalShown || refusalShown(); });
}

// The confirmation that follows is for the message-box answerer ("Yes").
inline void QueueLastShareDelete(ModalDriver& modal) {
    modal.On<app::TCaptureSettings_Form>(
        [](app::TCaptureSettings_Form& editor) {
            QTreeWidget& rows = *editor.Setup_ScreenCapture_Frame1->Streamer_VST;
            rows.setCurrentItem(rows.topLevelItem(rows.topLevelItemCount() - 1));
            UserClick(*editor.Setup_ScreenCapture_Frame1->DelPort_BitBtn);
        },
        [](app::TCaptureSettings_Form& editor) { return ShareRows(editor) > 0; });
}

inline void QueueEditorClose(ModalDriver& modal, bool ok) {
    modal.On<app::TCaptureSettings_Form>([ok](app::TCaptureSettings_Form& editor) {
        UserClick(ok ? *editor.OK_BitBtn : *editor.Cancel_BitBtn);
    });
}

}  // namespace fw_test
