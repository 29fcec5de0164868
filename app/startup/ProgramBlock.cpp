#include "app/startup/ProgramBlock.h"

#include "app/log/LogQueue.h"
#include "app/settings/registry_store.h"
#include "app/startup/ScreenCheck.h"

namespace app {

int RunProgramBlock(IStartupUi& ui, ISingleInstance& instance) {
    if (!instance.CreateInstanceMutex()) {
        instance.ShowPrevInstance();  // nothing is shown when the first one cannot be reached
        return 0;
    }
    RegWriteInstBool("lumora", false);
    if (!CheckScreen(ui)) {
        instance.CloseInstanceMutex();
        return 0;
    }
    ui.ShowSplash();
    ui.SetApplicationTitle(kApplicationTitle);
    ui.CreateForms();
    // Second starts are answered once there is a main window to bring forward; one that comes
    // earlier finds nobody listening and ends quietly.
    if (!instance.ListenForSecondStarts([&ui] { ui.ShowMainWindow(); }))
        QueueLogEntry(*engine::LogList(), "Single instance : second starts cannot be answered - " + instance.LastError(), engine::kLogError);
    const int exitCode = ui.RunMessageLoop();
    instance.CloseInstanceMutex();
    return exitCode;
}

}  // namespace app
