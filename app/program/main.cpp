// Framewick: the start-up code, the COM servers beside the program, then the program block with the
// main window on Qt Widgets. SIGPIPE is ignored before any thread or socket exists. The end of the
// session (SIGTERM, SIGINT, SIGHUP) runs the main window's closing; an exception that escapes a
// handler is reported by the main window.
#include <memory>
#include <string>
#include <vector>

#include "app/log/LogQueue.h"
#include "app/mainform/MainForm.h"
#include "app/mainform/QtStartupUi.h"
#include "app/parts/MainWindowParts.h"
#include "app/program/SessionEndSignals.h"
#include "app/startup/ComServers.h"
#include "app/startup/FramewickApplication.h"
#include "app/startup/ProgramBlock.h"
#include "app/startup/StartUpCode.h"
#include "app/startup/WaylandSession.h"
#include "common/SingleInstance.h"
#include "engine/util/path_utils.h"
#include "platform/process/BrokenPipeSignal.h"

int main(int argc, char** argv) {
    const bool brokenPipeIgnored = platform::IgnoreBrokenPipeSignal();
    app::TSessionEndSignals::HoldUntilInstalled();  // the threads started until then keep them held
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    app::TStartUpCode startUp(arguments);
    app::TFramewickApplication application(argc, argv);
    // The tray may hide the main window; the program ends when the main window closes, not before.
    application.setQuitOnLastWindowClosed(false);

    if (!brokenPipeIgnored)
        app::QueueLogEntry(*engine::LogList(), "SIGPIPE cannot be ignored: a client that goes away may end the program",
                           engine::kLogError);
    for (const std::string& failure : startUp.FolderFailures()) app::QueueLogEntry(*engine::LogList(), failure, engine::kLogError);
    if (const auto wayland = app::WaylandSessionWarning()) app::QueueLogEntry(*engine::LogList(), *wayland, engine::kLogWarning);
    const std::string programFolder = engine::ProgramFolder();
    for (const std::string& failure : app::RegisterComServersIfMissing(programFolder))
        app::QueueLogEntry(*engine::LogList(), failure, engine::kLogError);

    // The windows outlive the main window that uses them.
    app::TMainWindowParts windows;
    app::TQtStartupUi* uiRef = nullptr;
    app::TQtStartupUi ui(application, [&] {
        app::TLumora_MainForm::TOptions options;
        options.Parts = windows.Parts();
        options.Parts.CloseSplash = [&] { uiRef->CloseSplash(); };
        options.Closed = [&application] { application.quit(); };
        auto form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        windows.Attach(*form);
        return form;
    }, [&windows] { return windows.ShowMainFormAtStart(); });
    uiRef = &ui;
    application.SetErrorHandler([&ui](const std::string& message) {
        app::TLumora_MainForm* form = ui.MainForm();
        if (form != nullptr) form->ApplicationEvents1Exception(message);
        return form != nullptr;
    });
    const app::TSessionEndSignals sessionEnd([&ui](int) { ui.EndSession(); });
    if (!sessionEnd.Installed())
        app::QueueLogEntry(*engine::LogList(), "Session end : signals cannot be caught", engine::kLogError);
    app::TSingleInstance instance;
    return app::RunProgramBlock(ui, instance);
}
