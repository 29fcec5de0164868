// The program's icon in the notification area: shows a static icon, a named icon resource or an
// animation of numbered resources, tells a single click from a double click, pops up its menu on a
// right click and can take the program off the taskbar. Everything runs on the user-interface thread.
//
// The program is off the taskbar (ApplicationHide) only while the icon is docked in a tray: with no
// tray to show the icon in, a window without a taskbar button could not be reached once minimised.
// While the icon is switched on a dock watch follows the tray host's coming and going every 200 ms,
// gives the taskbar button back or takes it away, and tells OnDockChange.
//
// With DragDrop on, a small drop window stands over the icon where the desktop drew it (the tray
// tells the place; a watch re-asks every 200 ms and follows a moving tray). It forwards the mouse and
// dropped files to the icon, so right double clicks arrive there too, and shows the icon's hint after
// the application's hint pause. Without a tray to stand in it stays hidden.
//
// Icons the tray cannot take (other than 16 x 16 or 32 x 32 with 1, 4 or 8 bits per pixel, or a damaged
// image) are refused with a message to OnIconError (a logged warning when none is assigned); they are
// never shown.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "components/AppTaskbar.h"
#include "components/DragDropHintWindow.h"
#include "components/DragDropWindow.h"
#include "components/IconImage.h"
#include "components/IconResources.h"
#include "components/IconSequence.h"
#include "components/TrayArea.h"
#include "components/TrayMessages.h"
#include "platform/ui/ttimer.h"

namespace components {

class TNotifyIcon : public QObject {
public:
    // Mouse messages the tray reports (the callback's lParam).
    static constexpr uint32_t kMouseMove = tray_message::kMouseMove;
    static constexpr uint32_t kLButtonDown = tray_message::kLButtonDown;
    static constexpr uint32_t kLButtonDblClk = tray_message::kLButtonDblClk;
    static constexpr uint32_t kRButtonDown = tray_message::kRButtonDown;
    static constexpr uint32_t kRButtonDblClk = tray_message::kRButtonDblClk;

    static constexpr uint32_t kStartDelayMs = 200;  // from Notify to the icon in the tray
    static constexpr uint32_t kTrayWatchMs = 200;   // how often the drop target re-asks where the icon is
    static constexpr uint32_t kDockWatchMs = 200;   // how often the dock watch asks whether the icon is docked
    static constexpr int kMaxHintChars = 63;

    using NotifyEvent = std::function<void()>;

    TNotifyIcon(std::unique_ptr<TTrayArea> tray, std::unique_ptr<TAppTaskbar> taskbar,
                const TIconResources& resources, QObject* owner = nullptr);
    ~TNotifyIcon() override;
    TNotifyIcon(const TNotifyIcon&) = delete;
    TNotifyIcon& operator=(const TNotifyIcon&) = delete;

    bool Notify() const { return notify_; }
    // Whether the icon is in a tray now: switched on, added, and docked where the tray host tells.
    bool Docked() const;
    // True: the icon goes into the tray about 200 ms later. False: it leaves at once.
    void SetNotify(bool on);

    const TIconImage& Icon() const { return icon_; }
    // False (and the icon unchanged) for an icon of a format the tray cannot take.
    bool SetIcon(const TIconImage& icon);

    const QString& IconResName() const { return iconResName_; }
    void SetIconResName(const QString& name);

    bool ApplicationIcon() const { return applicationIcon_; }
    void SetApplicationIcon(bool on);

    const QString& IconHint() const { return iconHint_; }
    // Keeps the first 63 characters.
    void SetIconHint(const QString& hint);

    TIconSequence& IconSequence() { return sequence_; }

    bool ApplicationHide() const { return applicationHide_; }
    // The main window is not shown at the start; the taskbar button goes while the icon is docked.
    void SetApplicationHide(bool hide);

    bool DragDrop() const { return dragDrop_; }
    // True: the drop window stands over the icon (once the tray shows it). False: it is hidden.
    void SetDragDrop(bool on);
    // The drop target's windows; none before DragDrop was first switched on.
    TDragDropWindow* DropWindow() const { return dropWindow_.get(); }
    const TDragDropHintWindow* HintWindow() const { return hintWindow_.get(); }

    QMenu* PopupMenu() const { return popupMenu_.data(); }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }  // forgotten when the menu goes

    NotifyEvent OnLButtonClick;
    NotifyEvent OnLButtonDblClick;
    NotifyEvent OnRButtonClick;
    NotifyEvent OnRButtonDblClick;
    NotifyEvent OnMouseMove;
    NotifyEvent OnDockChange;  // the icon went into a tray or out of it (Docked() tells which)
    std::function<void(const QString& message)> OnIconError;

    // Looks at the dock now, as the dock watch does: the taskbar button follows it and a change is told
    // to OnDockChange. For a caller that acts on Docked() at once, so that a tray gone before the
    // watch's next look is still seen going.
    void FollowDock();

    // A message on the icon or its drop window, as the tray or the drop window reports it.
    void TrayMessage(uint32_t mouseMessage);

    // The end of the session: timers go, the icon leaves the tray and the drop target goes. Runs once;
    // the destructor after it does nothing more.
    void SessionEnd();

private:
    enum class StartRole { kNone, kStart, kSequence };

    void StartTimerTick();
    void ClickTimerTick();
    void SequenceChanged();

    void StartSequenceTimer();
    void StopSequenceTimer();
    void ShowCurrentFrame();
    void ShowFrameAndAdvance();  // the animation's tick
    void ArmClickTimer(uint32_t mouseMessage);

    // The drop target.
    void CreateDropTarget();
    void PlaceDropWindow();
    void TrayWatchTick();
    void HintTimerTick();
    void CancelHint();

    // The tray operations.
    bool AddIcon(const TIconImage& icon);
    void UpdateStaticIcon();
    void ShowIcon(const TIconImage& icon);
    void UpdateShownIcon();

    bool Usable(const TIconImage& icon);  // reports an unsupported format
    void LoadResourceIcon();
    void ReportIconError(const QString& message);

    std::unique_ptr<TTrayArea> tray_;
    std::unique_ptr<TAppTaskbar> taskbar_;
    const TIconResources& resources_;

    bool notify_ = false;
    TIconImage icon_;
    QString iconResName_;
    bool applicationIcon_ = false;
    QString iconHint_;
    TIconSequence sequence_;
    bool applicationHide_ = false;
    QPointer<QMenu> popupMenu_;

    // The start timer serves one role at a time: the delayed start or the animation.
    std::unique_ptr<platform::TTimer> startTimer_;
    StartRole startRole_ = StartRole::kNone;
    std::unique_ptr<platform::TTimer> clickTimer_;
    uint32_t clickMessage_ = 0;
    std::unique_ptr<platform::TTimer> dockWatch_;  // runs while Notify is on
    bool docked_ = false;                           // as the dock watch last saw it

    int frame_ = 1;
    bool firstFrame_ = false;  // the next frame is added, not changed
    TIconImage frameIcon_;
    bool iconAdded_ = false;
    bool sessionEnded_ = false;

    bool dragDrop_ = false;
    std::unique_ptr<TDragDropWindow> dropWindow_;
    std::unique_ptr<TDragDropHintWindow> hintWindow_;
    std::unique_ptr<platform::TTimer> hintTimer_;
    std::unique_ptr<platform::TTimer> trayWatch_;
    bool hintPending_ = false;
    QRect iconGeometry_;  // where the drop window was last placed from
};

}  // namespace components
