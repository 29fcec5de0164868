// The program's log window: the last 500 lines of TMainLog in colour by level, with Continue and Freeze
// (a pair in which both may be up), Clear and Open Log-Directory, the daily file's name in the status
// bar, and the once-a-second free-space check of the log folder. The SNMP log window lives docked in
// its page control as a page whose tab is hidden. Bounds are kept under "main_log". User-interface
// thread only; the main window's WriteLog is the only writer.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "app/log/MainLog.h"
#include "app/windows/log_windows/LogDockSite.h"
#include "app/windows/log_windows/LogListBox.h"
#include "components/CanvasPanelEx.h"
#include "app/windows/base/ShellOpen.h"
#include "platform/ui/message_target.h"

class QStatusBar;
class QTabWidget;
class QToolButton;

namespace platform {
class TTimer;
}

namespace app {

class TLog_Form;

// WParam of wmCaptureNotify when the SNMP log window floats off (the main window ignores it).
constexpr intptr_t kCnLogUndocked = 0;

class TMainLog_Form : public QWidget, private ILogDockSite {
public:
    static constexpr const char* kBoundsName = "main_log";
    static constexpr int kMinWidthPx = 350;
    static constexpr int kCheckLogIntervalMs = 1000;
    static constexpr int kHelpContext = 0;

    explicit TMainLog_Form(std::unique_ptr<TMainLog> log = std::make_unique<TMainLog>(),
                           TShellOpener shellOpen = DesktopShellOpener(), QWidget* parent = nullptr);
    ~TMainLog_Form() override;

    // The main window's WriteLog (level switches applied) and the plain WriteLines.
    void WriteLog(const std::string& text, uint8_t level);
    void WriteLines(const std::string& text, uint8_t level);

    // The tool bar's Log button: closing the window by hand gives it Tag 0 and the normal look.
    void SetLogButton(components::TCanvasPanelEx* button);
    // The main window, which receives cnLogUndocked.
    void SetMainWindowHandle(platform::WindowHandle handle) { mainWindow_ = handle; }

    TMainLog& Log() { return *log_; }
    TLogListBox* LogLB() const { return logLB_; }
    QToolButton* StartTB() const { return startTB_; }
    QToolButton* StopTB() const { return stopTB_; }
    QToolButton* ClearTB() const { return clearTB_; }
    QToolButton* OpenDirTB() const { return openDirTB_; }
    QStatusBar* LogStatusBar() const { return logStatusBar_; }
    QTabWidget* PageControl1() const { return pageControl1_; }
    TLog_Form& SnmpLog() { return *snmpLog_; }

    void CheckLogTimerTimer();

protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void closeEvent(QCloseEvent* event) override; // FormClose
    void keyPressEvent(QKeyEvent* event) override; // F1: FormHelp

private:
    bool DockDrop(TLog_Form& form) override;  // PageControl1DockDrop
    void UnDock(TLog_Form& form) override;    // PageControl1UnDock
    void ShowUpdate(const TLogWindowUpdate& update);
    void StartTBClick();
    void StopTBClick();
    void ClearTBClick();
    void OpenDirTBClick();

    std::unique_ptr<TMainLog> log_;
    TShellOpener shellOpen_;
    platform::WindowHandle mainWindow_ = 0;
    QPointer<components::TCanvasPanelEx> logButton_;
    QTabWidget* pageControl1_;
    QToolButton* startTB_;
    QToolButton* stopTB_;
    QToolButton* clearTB_;
    QToolButton* openDirTB_;
    TLogListBox* logLB_;
    QStatusBar* logStatusBar_;
    TLog_Form* snmpLog_;
    std::unique_ptr<platform::TTimer> checkLogTimer_;
};

}  // namespace app
