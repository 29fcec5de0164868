// Settings setters, the light-effect ramp, blinking and the drag mode of the windowed controls.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QObject>
#include <vector>

#include "components/Action.h"
#include "components/BevelControl.h"
#include "components/BevelMainCtrl.h"
#include "components/BlinkingCtrl.h"
#include "components/ColorUtils.h"
#include "components/ControlMessage.h"
#include "components/LightEffectCtrl.h"
#include "tests/support/event_pump.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

using namespace std::chrono_literals;

// Records the control messages it is sent.
class MessageLog : public QObject {
public:
    struct Entry {
        uint32_t msg;
        intptr_t wParam, lParam;
    };
    std::vector<Entry> entries;
    bool event(QEvent* e) override {
        if (!TControlMessageEvent::IsControlMessage(e)) return QObject::event(e);
        const auto* m = static_cast<TControlMessageEvent*>(e);
        entries.push_back({m->Msg, m->WParam, m->LParam});
        return true;
    }
    std::vector<TColor> Colors() const {
        std::vector<TColor> colors;
        for (const Entry& e : entries) colors.push_back(TColor(e.wParam));
        return colors;
    }
};

// A grey whose HLS luminance is lum.
TColor GreyOfLum(int lum) {
    for (int v = 0; v < 256; ++v)
        if (RGBToHLS(RGBToColor(v, v, v)).Lum == lum) return RGBToColor(v, v, v);
    ADD_FAILURE() << "no grey of luminance " << lum;
    return 0;
}

TEST(SettingsSetterTest, NotifyingSwitchAndSilentKinds) {
    int changes = 0;
    TBevelMainCtrl main;
    main.OnChange = [&] { ++changes; };
    main.SetbmEdge(10);
    main.SetbmEdge(10);  // equal: nothing
    EXPECT_EQ(changes, 1);
    main.SetbmShape(bsRound);
    EXPECT_EQ(changes, 2);

    TAction action;
    changes = 0;
    action.OnChange = [&] { ++changes; };
    action.SetacColor1(0x123456);  // silent
    action.SetacColor2(0x654321);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(action.acColor1(), 0x123456u);
    action.SetacOn(false);  // switch: raises even when equal
    action.SetacOn(false);
    EXPECT_EQ(changes, 2);
}

TEST(LightEffectCtrlTest, SilentSetterClamps) {
    TLightEffectCtrl effect;
    int changes = 0;
    effect.OnChange = [&] { ++changes; };
    effect.SetleTimer(-5);
    EXPECT_EQ(effect.leTimer(), 0);
    effect.SetleTimer(5000);
    EXPECT_EQ(effect.leTimer(), 1000);
    effect.SetleLuminance(300);
    EXPECT_EQ(effect.leLuminance(), 240);
    effect.SetleLuminance(60);
    effect.SetleLumStepWidth(5);
    effect.SetleLumStepWidth(0);
    EXPECT_EQ(effect.leLumStepWidth(), 1);
    effect.SetleLumStepWidth(100);
    EXPECT_EQ(effect.leLumStepWidth(), 60);
    effect.SetleLuminance(20);  // lowering the luminance later does not re-clamp the step
    EXPECT_EQ(effect.leLumStepWidth(), 60);
    EXPECT_EQ(changes, 0);
    effect.SetleOn(true);
    effect.SetleOn(true);
    EXPECT_EQ(changes, 2);
}

struct RampCase {
    const char* name;
    int fromLum, toLum, luminance, step;
    bool up;
    int total;
    std::vector<int> sent;
};

TEST(LightEffectCtrlTest, RampsSendTheirLuminancesAndEnd) {
    std::vector<int> upRamp;
    for (int l = 105; l <= 180; l += 5) upRamp.push_back(l);
    const RampCase cases[] = {
        {"up", 100, 120, 60, 5, true, 80, upRamp},
        {"up from above the top", 200, 120, 60, 5, true, 0, {180}},
        {"down", 180, 120, 0, 7, false, 60, {173, 166, 159, 152, 145, 138, 131, 124, 120}},
    };
    for (const RampCase& c : cases) {
        SCOPED_TRACE(c.name);
        MessageLog log;
        TLightEffectCtrl effect;
        effect.SetEffectId(2);
        effect.Start(GreyOfLum(c.fromLum), GreyOfLum(c.toLum), 10, &log, c.up, c.luminance, c.step, 7);
        EXPECT_EQ(effect.Total(), c.total);
        EXPECT_EQ(effect.RampId(), 7);
        ASSERT_TRUE(effect.Running());
        for (int guard = 0; effect.HasTimer() && guard < 100; ++guard) effect.TimerTick();
        EXPECT_FALSE(effect.HasTimer());
        // Both colours are greys: every step is the grey of the step's luminance.
        std::vector<TColor> expected;
        for (int lum : c.sent) expected.push_back(HLSToRGB(kUndefinedHue, uint8_t(lum), 0));
        EXPECT_EQ(log.Colors(), expected);
        for (const auto& e : log.entries) {
            EXPECT_EQ(e.msg, wmLightEffect);
            EXPECT_EQ(e.lParam, 2);
        }
    }
}

TEST(LightEffectCtrlTest, StepsCarryTheSecondColoursHueAndSaturation) {
    MessageLog log;
    TLightEffectCtrl effect;
    effect.SetEffectId(1);
    const TColor from = 0x202080, to = 0x0000C0;  // reds of different luminance
    effect.Start(from, to, 10, &log, true, 40, 10, 1);
    effect.TimerTick();
    ASSERT_EQ(log.entries.size(), 1u);
    const THLSTriple toHls = RGBToHLS(to);
    EXPECT_EQ(TColor(log.entries[0].wParam),
              HLSToRGB(toHls.Hue, uint8_t(RGBToHLS(from).Lum + 10), toHls.Sat));
}

TEST(LightEffectCtrlTest, TimerDrivesTheRampAndStopPausesIt) {
    MessageLog log;
    TLightEffectCtrl effect;
    effect.Start(GreyOfLum(100), GreyOfLum(120), 5, &log, true, 60, 5, 1);
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !effect.HasTimer(); }, 5000ms));
    EXPECT_EQ(log.entries.size(), 16u);

    log.entries.clear();
    effect.Start(GreyOfLum(100), GreyOfLum(120), 5, &log, true, 60, 5, 1);
    effect.Stop();
    EXPECT_TRUE(effect.HasTimer());
    fw_test::PumpFor(60ms);
    EXPECT_TRUE(log.entries.empty());
    effect.Start(GreyOfLum(100), GreyOfLum(120), 5, &log, true, 60, 5, 1);  // reuses the paused timer
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !effect.HasTimer(); }, 5000ms));
    EXPECT_EQ(log.entries.size(), 16u);
}

TEST(LightEffectCtrlTest, ZeroStepRepeatsTheSameColourUntilStopped) {
    MessageLog log;
    TLightEffectCtrl effect;
    effect.Start(GreyOfLum(100), GreyOfLum(120), 10, &log, true, 0, 0, 1);
    for (int i = 0; i < 5; ++i) effect.TimerTick();
    EXPECT_TRUE(effect.HasTimer());
    EXPECT_EQ(log.Colors(), std::vector<TColor>(5, HLSToRGB(kUndefinedHue, 100, 0)));
}

TEST(LightEffectCtrlTest, ReceiverThatWentIsSkipped) {
    TLightEffectCtrl effect;
    auto* log = new MessageLog;
    effect.Start(GreyOfLum(100), GreyOfLum(120), 10, log, true, 60, 5, 1);
    delete log;
    effect.TimerTick();  // must not touch the deleted receiver
    EXPECT_TRUE(effect.HasTimer());
}

TEST(BlinkingCtrlTest, BlinksAndTellsOnceWhenSwitchedOff) {
    MessageLog log;
    TBlinkingCtrl blink;
    int changes = 0;
    blink.OnChange = [&] {
        ++changes;
        if (blink.blOn()) blink.SetWnd(&log);
    };
    blink.SetblInterval(5);
    blink.SetblOn(true);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(fw_test::PumpUntil([&] { return log.entries.size() >= 4; }, 5000ms));
    blink.SetblOn(false);
    EXPECT_FALSE(blink.HasTimer());
    const size_t count = log.entries.size();
    ASSERT_GE(count, 5u);
    for (size_t i = 0; i + 1 < count; ++i) {
        EXPECT_EQ(log.entries[i].msg, wmBlinkState);
        EXPECT_EQ(log.entries[i].wParam, i % 2 == 0 ? 1 : 0) << i;
    }
    EXPECT_EQ(log.entries.back().wParam, 0);
    const bool lastPhase = blink.State();
    fw_test::PumpFor(30ms);
    EXPECT_EQ(log.entries.size(), count);
    EXPECT_EQ(blink.State(), lastPhase);  // switching off keeps the phase
}

TEST(BlinkingCtrlTest, SwitchingOffInTheOffPhaseStillSendsZero) {
    MessageLog log;
    TBlinkingCtrl blink;
    blink.SetWnd(&log);
    blink.SetblInterval(1000);
    blink.SetblOn(true);
    blink.TimerTick();  // on
    blink.TimerTick();  // off
    blink.SetblOn(false);
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[1].wParam, 0);
    EXPECT_EQ(log.entries[2].wParam, 0);
    EXPECT_EQ(log.entries[2].lParam, 0);
}

// A bevelled control that records what reaches it.
class ProbeControl : public TBevelControl {
public:
    using TBevelControl::TBevelControl;
    std::vector<TColor> lightSteps;
    std::vector<bool> blinkPhases;

protected:
    void WMLightEffect(TColor color, int) override { lightSteps.push_back(color); }
    void WMBlinkState(bool on) override { blinkPhases.push_back(on); }
};

TEST(BevelControlTest, DriverMessagesReachTheControl) {
    ProbeControl control;
    TLightEffectCtrl effect;
    effect.Start(GreyOfLum(100), GreyOfLum(120), 10, &control, false, 0, 50, 1);
    effect.TimerTick();
    ASSERT_EQ(control.lightSteps.size(), 1u);
    EXPECT_EQ(control.lightSteps[0], HLSToRGB(kUndefinedHue, 120, 0));
    SendControlMessage(&control, wmBlinkState, 1, 0);
    EXPECT_EQ(control.blinkPhases, std::vector<bool>{true});
}

void SendMouse(QWidget& target, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
    const QPointF global = target.mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

struct DragCase {
    const char* name;
    THitTest hitTest;
    bool movesParent, movesSelf, movesForm;
};

TEST(OwnControlTest, DragModeMovesItsWindowAndSwallowsThePress) {
    const DragCase cases[] = {
        {"none", htNone, false, false, false},
        {"self", htSelf, false, true, false},
        {"parent", htParent, true, false, false},
        {"form", htForm, false, false, true},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget form;
        form.resize(300, 200);
        QWidget holder(&form);
        holder.setGeometry(20, 20, 200, 150);
        ProbeControl control(&holder);
        control.setGeometry(10, 10, 50, 30);
        form.show();
        control.SetHitTest(c.hitTest);
        int downs = 0, ups = 0, clicks = 0;
        control.OnMouseDown = [&](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
        control.OnMouseUp = [&](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
            ++ups;
            if (c.hitTest != htNone) {
                EXPECT_EQ(x, 0);
                EXPECT_EQ(y, 0);
            }
        };
        control.OnClick = [&](QWidget*) { ++clicks; };

        const QPoint formStart = form.pos(), holderStart = holder.pos(), controlStart = control.pos();
        SendMouse(control, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
        EXPECT_EQ(control.Pressed(), c.hitTest != htNone);
        SendMouse(control, QEvent::MouseMove, {25, 12}, Qt::LeftButton);
        SendMouse(control, QEvent::MouseButtonRelease, {25, 12}, Qt::NoButton);
        EXPECT_FALSE(control.Pressed());

        EXPECT_EQ(holder.pos(), c.movesParent ? holderStart + QPoint(20, 7) : holderStart);
        EXPECT_EQ(control.pos(), c.movesSelf ? controlStart + QPoint(20, 7) : controlStart);
        EXPECT_EQ(form.pos(), c.movesForm ? formStart + QPoint(20, 7) : formStart);
        EXPECT_EQ(downs, c.hitTest == htNone ? 1 : 0);
        EXPECT_EQ(ups, 1);
        EXPECT_EQ(clicks, c.hitTest == htNone ? 1 : 0);
    }
}

}  // namespace
