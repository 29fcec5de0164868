// Drives one luminance ramp: every tick it sends wmLightEffect with the next colour to its receiver,
// brightening from a first colour toward a second one lightened by an amount, or darkening from the
// first colour back to the second. The owning control starts it from its mouse enter and leave
// handling with its published leTimer, leLuminance and leLumStepWidth, and paints each step it is sent.
#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>

#include "components/Color.h"
#include "components/GraphTypes.h"
#include "components/PersistentSettings.h"

namespace platform {
class TTimer;
}

namespace components {

constexpr int kMaxLightEffectTimerMs = 1000;

class TLightEffectCtrl : public TPersistentSettings {
public:
    TLightEffectCtrl();
    virtual ~TLightEffectCtrl();

    // Published settings.
    int leLuminance() const { return leLuminance_; }
    void SetleLuminance(int value);     // silent; clamped to 0..240
    int leLumStepWidth() const { return leLumStepWidth_; }
    void SetleLumStepWidth(int value);  // silent; at least 1, at most the current leLuminance
    bool leOn() const { return leOn_; }
    void SetleOn(bool value) { SetSwitch(leOn_, value); }
    int leTimer() const { return leTimer_; }
    void SetleTimer(int value);         // silent; clamped to 0..1000 ms

    // 1 for an outer-bevel or button-face effect, 2 for a background or caption effect; set by the
    // owner when it creates the object and sent with every step.
    int EffectId() const { return effectId_; }
    void SetEffectId(int id) { effectId_ = id; }

    // Starts or restarts a ramp from color1 toward color2 (lightened by luminance when up), one step
    // every intervalMs to receiver. An interval of 0 never ticks.
    void Start(TColor color1, TColor color2, int intervalMs, QObject* receiver, bool up, int luminance,
               int stepWidth, int rampId);
    // Pauses the ramp; a later Start reuses the timer.
    void Stop();
    // One step of the ramp (the timer's handler).
    virtual void TimerTick();

    // State of the ramp.
    const THLSTriple& From() const { return from_; }
    const THLSTriple& To() const { return to_; }
    int Counter() const { return counter_; }
    int Total() const { return total_; }
    int Amount() const { return amount_; }
    int Step() const { return step_; }
    bool Up() const { return up_; }
    int RampId() const { return rampId_; }
    bool HasTimer() const { return timer_ != nullptr; }
    bool Running() const;

private:
    THLSTriple from_;
    THLSTriple to_;
    int counter_ = 0;
    int total_ = 0;
    int amount_ = 0;
    int step_ = 0;
    bool up_ = false;
    QPointer<QObject> wnd_;
    int leLuminance_ = 0;
    int leLumStepWidth_ = 0;
    bool leOn_ = false;
    int leTimer_ = 0;
    int rampId_ = 0;
    int effectId_ = 0;
    std::unique_ptr<platform::TTimer> timer_;
};

}  // namespace components
