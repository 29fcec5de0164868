// What the main window needs of the windows that other groups build: the capture panel with its share
// tabs, the tool bar, the status bar, the log window and the dialogs it opens. Each group plugs its
// window in through TMainFormParts (a factory or a call); a part left empty is simply not there: no
// bar is shown, the log window gets nothing, a dialog that cannot be opened answers Cancel.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/capture_service/CaptureService.h"
#include "app/lists/capture_list_entry.h"
#include "engine/capture/settings/CaptureStreamer.h"

namespace engine {
class TScreenCapture;
}

namespace app {

// One capture service's panel (TCapture_Frame) with one status tab per share (TStreamer_Frame). The
// panel shows its TCaptureService; it never starts or stops the job itself.
class ICapturePanel {
public:
    virtual ~ICapturePanel() = default;
    virtual QWidget* Widget() = 0;

    // The first fill, and the refill after the job restarted itself or was edited.
    virtual void InitPanel() = 0;
    virtual void ShowCapture() = 0;
    virtual void ToggleMinimized() = 0;
    virtual void StopStatusTimer() = 0;
    virtual void RefreshHttpState() = 0;

    // The status tab of share (none: nothing happens): its web-server error LED, and the request and
    // send LEDs that light up briefly.
    virtual void SetShareHttpError(const engine::TCaptureStreamer& share, bool on) = 0;
    virtual void LightShareHttpRequest(const engine::TCaptureStreamer& share) = 0;
    virtual void LightShareHttpSend(const engine::TCaptureStreamer& share) = 0;

    // The service was switched on when the settings dialog opened: it starts again when the dialog closes.
    bool RestartAfterEdit = false;
};

// The counts and states the status bar shows once a second.
struct TMainStatus {
    int Captures = 0;
    bool AnyCaptureRunning = false;
    bool KeepAwake = false;  // DeactScreenSaver
    int WebSockets = 0;
    bool AnyWebSocketActive = false;
    int WebServers = 0;
    bool AnyWebServerListening = false;
};

class IToolBar {
public:
    virtual ~IToolBar() = default;
    virtual QWidget* Widget() = 0;
    virtual void InitToolBar() = 0;
    // The Log button's switched-on look (Tag 1) while the log window is shown.
    virtual void SetLogButtonOn(bool on) = 0;
    virtual bool LogButtonOn() const = 0;
};

class IStatusBar {
public:
    virtual ~IStatusBar() = default;
    virtual QWidget* Widget() = 0;
    virtual void InitStatusBar() = 0;
    virtual void ShowStatus(const TMainStatus& status) = 0;
    // The data LED of a wmCaptureNotify kind (cnImageData, cnVideoData, cnFileData), lit unless it is.
    virtual void LightDataLed(intptr_t notifyKind) = 0;
};

class TLumora_MainForm;

struct TMainFormParts {
    // The panel that shows a new capture service; the main window places the widget into its scroll box.
    std::function<std::unique_ptr<ICapturePanel>(TLumora_MainForm& form, std::shared_ptr<TCaptureService> service)>
        MakeCapturePanel;
    std::function<std::unique_ptr<IToolBar>(TLumora_MainForm& form)> MakeToolBar;
    std::function<std::unique_ptr<IStatusBar>(TLumora_MainForm& form)> MakeStatusBar;

    // The capture-service editor for a new service (AddCapture): fills entry and capture; true on OK.
    std::function<bool(TCaptureListEntry& entry, engine::TScreenCapture& capture)> EditNewCapture;
    // The settings dialog, modal, centred on monitor number monitor; true on OK.
    std::function<bool(int monitor)> OpenSettingsDialog;
    std::function<void()> ShowAbout;

    // The log window, which then keeps the program's log (level switches, its lines and the daily file);
    // without it the main window keeps the log itself. Show or hide it; its state.
    std::function<void(const std::string& text, uint8_t level)> WriteLog;
    std::function<void(bool show)> ShowLogWindow;
    std::function<bool()> LogWindowMinimized;

    // The wait window around long steps (mode 1); without it nothing is shown.
    std::function<void()> ShowWaitForm;
    std::function<void()> CloseWaitForm;
    // The splash window goes (CloseSplash).
    std::function<void()> CloseSplash;
    // The tray icon is shown (the task-bar button hidden) or removed (the button shown again).
    std::function<void(bool on)> ShowTrayIcon;
};

}  // namespace app
