// The SNMP log window: an owner-drawn list with Continue, Freeze, Clear and Dock/Undock buttons, which
// nothing in the program writes into. It lives docked into the main log window as a page whose tab is
// hidden; its close box docks it again instead of closing it. Its floating bounds are kept under
// "bera_log".
#pragma once

#include <QRect>
#include <QWidget>

#include "app/windows/log_windows/LogListBox.h"

class QToolButton;

namespace app {

class ILogDockSite;

class TLog_Form : public QWidget {
public:
    static constexpr const char* kBoundsName = "bera_log";
    static constexpr int kDockButtonRightGapPx = 8;

    explicit TLog_Form(ILogDockSite& dockSite, QWidget* parent = nullptr);

    // Docks into the site (remembering the floating rectangle and saving it) or floats back to it; when
    // floating fails Dock_TB is pressed again.
    void SetDocked(bool dock);
    // Presses or releases Dock_TB to show the state.
    void SetDockState(bool docked);
    bool Docked() const;

    TLogListBox* LogLB() const { return logLB_; }
    QToolButton* StartTB() const { return startTB_; }
    QToolButton* FreezeTB() const { return freezeTB_; }
    QToolButton* DockTB() const { return dockTB_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ILogDockSite& dockSite_;
    QRect floatingRect_;
    QWidget* topPanel_;
    QToolButton* startTB_;
    QToolButton* freezeTB_;
    QToolButton* clearTB_;
    QToolButton* dockTB_;
    TLogListBox* logLB_;
};

}  // namespace app
