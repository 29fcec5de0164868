// Drives a blink: while blOn, every blInterval milliseconds it flips its phase and sends wmBlinkState
// (1 on, 0 off) to its receiver; switching it off tells the receiver once with 0.
#pragma once

#include <QPointer>
#include <memory>

#include "components/PersistentSettings.h"

namespace platform {
class TTimer;
}

namespace components {

class TBlinkingCtrl : public TPersistentSettings {
public:
    TBlinkingCtrl();
    virtual ~TBlinkingCtrl();

    bool State() const { return state_; }
    bool blOn() const { return blOn_; }
    // Starts or stops the blink timer first, then raises OnChange; the owner's handler gives the
    // object its receiver (SetWnd) when blinking goes on, before the first tick.
    void SetblOn(bool value);
    int blInterval() const { return blInterval_; }
    void SetblInterval(int value) { blInterval_ = value; }  // silent; used when blinking next goes on

    QObject* Wnd() const { return wnd_; }
    void SetWnd(QObject* receiver) { wnd_ = receiver; }

    // One blink (the timer's handler).
    virtual void TimerTick();
    bool HasTimer() const { return timer_ != nullptr; }

private:
    bool state_ = false;
    bool blOn_ = false;
    int blInterval_ = 0;
    QPointer<QObject> wnd_;
    std::unique_ptr<platform::TTimer> timer_;
};

}  // namespace components
