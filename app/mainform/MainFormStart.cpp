// The end of start-up, 100 ms after the first showing: web servers, pipe, log window, the captures
// marked to start, tray icon, archive thread; then the saved compact mode comes back.
#include "app/mainform/MainForm.h"

#include "app/archive/ArchiveGuard.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"

namespace app {

void TLumora_MainForm::ShowTimerTimer() {
    showTimer_.stop();
    scrollBox_->setVisible(true);
    AdjustHeight();
    webServers_.StartStop(true);
    if (!pipeServer_.isListening()) {
        QLocalServer::removeServer(kPipeName);
        if (!pipeServer_.listen(kPipeName))
            WriteLog("Pipe " + std::string(kPipeName) + " : " + pipeServer_.errorString().toStdString(), engine::kLogError);
    }
    ShowLogWindow(engine::Settings()->ShowLog);
    for (TCaptureListEntry* entry : captures_->Entries())
        // A start waits with events running: a session end there leaves the rest to the closing.
        if (!engine::AppClosing && entry->AutoStart && captures_->IndexOf(entry) >= 0) captures_->StartStop(*entry, true);
    if (engine::Settings()->NotifyIcon && options_.Parts.ShowTrayIcon) options_.Parts.ShowTrayIcon(true);
    archiveThread_ = std::make_unique<TArchiveThread>(
        std::make_shared<TArchiveGuard>(archiveHandOver_.Host(), engine::CurrentFreeSpaceQuery(), engine::LogList()));
    CloseSplash();
    startUpDone_ = true;
    compact_->StartUpDone(ToolBarWidget(), StatusBarWidget());
}

void TLumora_MainForm::MinTimerTimer() {
    minTimer_.stop();
    compact_->RestoreSaved(startUpDone_, ToolBarWidget(), StatusBarWidget());
}

}  // namespace app
