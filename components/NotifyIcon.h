// The program's icon in the notification area: shows a static icon, a named icon resource or an
// animation of numbered resources, tells a single click from a double click, pops up its menu on a
// right click and can take the program off the taskbar. Everything runs on the user-interface thread.
//
// Icons the tray cannot take (other than 16 x 16 or 32 x 32 with 1, 4 or 8 bits per pixel) are refused
// with a message to OnIconError (a logged warning when none is assigned); they are never shown.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "components/AppTaskbar.h"
#include "components/IconImage.h"
#include "components/IconResources.h"
#include "components/IconSequence.h"
#include "components/TrayArea.h"
#include "platform/ui/ttimer.h"

namespace components {

class TNotifyIcon : public QObject {
public:
    // Mouse messages the tray reports (the callback's lParam).
    static constexpr uint32_t kMouseMove = 0x200;
    static constexpr uint32_t kLButtonDown = 0x201;
    static constexpr uint32_t kLButtonDblClk = 0x203;
    static constexpr uint32_t kRButtonDown = 0x204;
    static constexpr uint32_t kRButtonDblClk = 0x206;

    static constexpr uint32_t kStartDelayMs = 200;  // from Notify to the icon in the tray
    static constexpr int kMaxHintChars = 63;

    using NotifyEvent = std::function<void()>;

    TNotifyIcon(std::unique_ptr<TTrayArea> tray, std::unique_ptr<TAppTaskbar> taskbar,
                const TIconResources& resources, QObject* owner = nullptr);
    ~TNotifyIcon() override;
    TNotifyIcon(const TNotifyIcon&) = delete;
    TNotifyIcon& operator=(const TNotifyIcon&) = delete;

    bool Notify() const { return notify_; }
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
    void SetApplicationHide(bool hide);

    QMenu* PopupMenu() const { return popupMenu_.data(); }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }  // forgotten when the menu goes

    NotifyEvent OnLButtonClick;
    NotifyEvent OnLButtonDblClick;
    NotifyEvent OnRButtonClick;
    NotifyEvent OnRButtonDblClick;
    NotifyEvent OnMouseMove;
    std::function<void(const QString& message)> OnIconError;

    // A mouse message on the icon, as the tray reports it.
    void TrayMessage(uint32_t mouseMessage);

    // The end of the session: timers go and the icon leaves the tray. Runs once; the destructor after it
    // does nothing more.
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

    int frame_ = 1;
    bool firstFrame_ = false;  // the next frame is added, not changed
    TIconImage frameIcon_;
    bool iconAdded_ = false;
    bool sessionEnded_ = false;
};

}  // namespace components
