// The tray icon through a fake notification area: the delayed start, hints, clicks and double clicks,
// the popup menu, refused icon formats, resource icons, the frame animation, the taskbar button that
// follows the docked icon and the end of the session.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <string>
#include <vector>

#include "components/NotifyIcon.h"
#include "tests/components/fake_tray_area.h"
#include "tests/support/event_pump.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

using namespace std::chrono_literals;

using fw_test::TrayCall;

constexpr int kDoubleClickMs = 120;
using fw_test::PumpFor;
using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWait{3000};

TIconImage SolidIcon(QRgb colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    return TIconImage::Encode4Bit(image, 16);
}

TIconImage IconHeader(int width, int height, int bits) {
    QByteArray b(6 + 16 + 40, '\0');
    b[2] = 1;
    b[4] = 1;
    b[6] = static_cast<char>(width);
    b[7] = static_cast<char>(height);
    b[6 + 12] = 22;
    b[22] = 40;
    b[22 + 14] = static_cast<char>(bits);
    return TIconImage(b);
}

class NotifyIconTest : public ::testing::Test {
protected:
    NotifyIconTest() {
        QApplication::setDoubleClickInterval(kDoubleClickMs);
        resources.Add("MAINICON", appIcon);
        resources.Add("ANI_1", SolidIcon(qRgb(255, 0, 0)));
        resources.Add("ANI_2", SolidIcon(qRgb(0, 255, 0)));
        resources.Add("ANI_3", SolidIcon(qRgb(0, 0, 255)));
        resources.Add("GAP_1", SolidIcon(qRgb(255, 0, 0)));
        resources.Add("GAP_3", SolidIcon(qRgb(0, 0, 255)));
        resources.Add("BAD", IconHeader(16, 16, 24));
        icon = std::make_unique<TNotifyIcon>(std::make_unique<fw_test::FakeTrayArea>(tray),
                                             std::make_unique<fw_test::FakeAppTaskbar>(taskbar), resources);
        icon->OnIconError = [this](const QString& message) { errors.push_back(message); };
    }

    void ShowAndWait() {
        icon->SetNotify(true);
        ASSERT_TRUE(PumpUntil([&] { return tray->Count(TrayCall::kAdd) > 0; }, kWait));
    }

    std::shared_ptr<fw_test::TrayRecord> tray = std::make_shared<fw_test::TrayRecord>();
    std::shared_ptr<fw_test::TaskbarRecord> taskbar = std::make_shared<fw_test::TaskbarRecord>();
    TIconResources resources;
    const TIconImage appIcon = SolidIcon(qRgb(255, 255, 0));
    const TIconImage redIcon = SolidIcon(qRgb(128, 0, 0));
    std::vector<QString> errors;
    std::unique_ptr<TNotifyIcon> icon;
};

TEST_F(NotifyIconTest, IconArrivesAfterTheStartDelayAndLeavesAtOnce) {
    icon->SetIconHint("Framewick");  // before the start: no icon yet, nothing switched off
    QElapsedTimer clock;
    clock.start();
    icon->SetNotify(true);
    PumpFor(100ms);
    EXPECT_TRUE(tray->calls.empty());
    ASSERT_TRUE(PumpUntil([&] { return !tray->calls.empty(); }, kWait));
    EXPECT_GE(clock.elapsed(), 190);
    ASSERT_EQ(tray->calls.size(), 1u);
    EXPECT_EQ(tray->calls[0].kind, TrayCall::kAdd);
    EXPECT_EQ(tray->calls[0].icon, appIcon);  // no icon of its own: the application's
    EXPECT_EQ(tray->calls[0].tip, "Framewick");
    EXPECT_TRUE(icon->Notify());

    icon->SetNotify(false);
    ASSERT_EQ(tray->calls.size(), 2u);
    EXPECT_EQ(tray->calls[1].kind, TrayCall::kDelete);
}

TEST_F(NotifyIconTest, NotifyOffDuringTheStartDelayKeepsTheIconOut) {
    icon->SetNotify(true);
    PumpFor(50ms);
    icon->SetNotify(false);
    PumpFor(400ms);
    EXPECT_EQ(tray->Count(TrayCall::kAdd), 0);
}

TEST_F(NotifyIconTest, HintKeepsItsFirst63Characters) {
    ASSERT_TRUE(icon->SetIcon(redIcon));
    ShowAndWait();
    const QString hint = QString(63, QLatin1Char('a')) + QString(7, QLatin1Char('b'));
    icon->SetIconHint(hint);
    EXPECT_EQ(icon->IconHint(), hint.left(63));
    ASSERT_EQ(tray->calls.back().kind, TrayCall::kModify);
    EXPECT_EQ(tray->calls.back().tip, hint.left(63));
    EXPECT_EQ(tray->calls.back().icon, redIcon);
}

struct ClickCounts {
    int left = 0, leftDouble = 0, right = 0, rightDouble = 0, move = 0;
};

class NotifyIconClickTest : public NotifyIconTest {
protected:
    void Assign(bool leftDouble, bool rightDouble) {
        icon->OnLButtonClick = [this] { ++counts.left; };
        icon->OnRButtonClick = [this] { ++counts.right; };
        icon->OnMouseMove = [this] { ++counts.move; };
        if (leftDouble) icon->OnLButtonDblClick = [this] { ++counts.leftDouble; };
        if (rightDouble) icon->OnRButtonDblClick = [this] { ++counts.rightDouble; };
    }
    ClickCounts counts;
};

TEST_F(NotifyIconClickTest, SingleClickWaitsOneDoubleClickTimeOnlyWhenADoubleClickIsHandled) {
    Assign(true, true);
    QElapsedTimer clock;
    clock.start();
    tray->Send(TNotifyIcon::kLButtonDown);
    EXPECT_EQ(counts.left, 0);
    ASSERT_TRUE(PumpUntil([&] { return counts.left == 1; }, kWait));
    EXPECT_GE(clock.elapsed(), kDoubleClickMs - 10);
    tray->Send(TNotifyIcon::kRButtonDown);
    EXPECT_EQ(counts.right, 0);
    ASSERT_TRUE(PumpUntil([&] { return counts.right == 1; }, kWait));
    PumpFor(std::chrono::milliseconds(2 * kDoubleClickMs));
    EXPECT_EQ(counts.left, 1);
    EXPECT_EQ(counts.right, 1);
    EXPECT_EQ(counts.leftDouble + counts.rightDouble, 0);
}

TEST_F(NotifyIconClickTest, DoubleClickDropsTheWaitingSingleClick) {
    Assign(true, true);
    tray->Send(TNotifyIcon::kLButtonDown);
    tray->Send(TNotifyIcon::kLButtonDblClk);
    tray->Send(TNotifyIcon::kRButtonDown);
    tray->Send(TNotifyIcon::kRButtonDblClk);
    PumpFor(std::chrono::milliseconds(3 * kDoubleClickMs));
    EXPECT_EQ(counts.leftDouble, 1);
    EXPECT_EQ(counts.rightDouble, 1);
    EXPECT_EQ(counts.left, 0);
    EXPECT_EQ(counts.right, 0);
}

TEST_F(NotifyIconClickTest, WithoutDoubleClickHandlersClicksCountAtThePress) {
    Assign(false, false);
    tray->Send(TNotifyIcon::kLButtonDown);
    tray->Send(0x202);  // releases are ignored
    tray->Send(TNotifyIcon::kRButtonDown);
    tray->Send(0x205);
    tray->Send(TNotifyIcon::kMouseMove);
    EXPECT_EQ(counts.left, 1);
    EXPECT_EQ(counts.right, 1);
    EXPECT_EQ(counts.move, 1);
    PumpFor(std::chrono::milliseconds(2 * kDoubleClickMs));
    EXPECT_EQ(counts.left, 1);
    EXPECT_EQ(counts.right, 1);
}

TEST_F(NotifyIconClickTest, RightClickWithAMenuPopsItUpAtThePointerInsteadOfAnEvent) {
    Assign(true, true);
    auto menu = std::make_unique<QMenu>();
    icon->SetPopupMenu(menu.get());
    tray->Send(TNotifyIcon::kRButtonDown);
    PumpFor(std::chrono::milliseconds(2 * kDoubleClickMs));
    ASSERT_EQ(tray->Count(TrayCall::kPopup), 1);
    EXPECT_EQ(tray->calls.back().menu, menu.get());
    EXPECT_EQ(tray->calls.back().pos, tray->cursor);
    EXPECT_EQ(counts.right, 0);

    menu.reset();  // the component forgets a menu that is gone
    EXPECT_EQ(icon->PopupMenu(), nullptr);
    tray->Send(TNotifyIcon::kRButtonDown);
    ASSERT_TRUE(PumpUntil([&] { return counts.right == 1; }, kWait));
    EXPECT_EQ(tray->Count(TrayCall::kPopup), 1);
}

TEST_F(NotifyIconTest, UnsupportedIconIsRefusedAndReportedOnce) {
    ASSERT_TRUE(icon->SetIcon(redIcon));
    EXPECT_FALSE(icon->SetIcon(IconHeader(48, 48, 8)));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith("Icon-Format 48x48 is not supported !"));
    EXPECT_EQ(icon->Icon(), redIcon);

    // A resource of a refused format at the start: one report, nothing added, no retries.
    icon->SetIconResName("BAD");
    icon->SetNotify(true);
    PumpFor(700ms);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(errors[1].startsWith("Icon-Format 24 bits per pixel is not supported !"));
    EXPECT_EQ(tray->Count(TrayCall::kAdd), 0);
}

TEST_F(NotifyIconTest, ResourceIconReplacesTheStaticIcon) {
    ASSERT_TRUE(icon->SetIcon(redIcon));
    icon->SetIconResName("ANI_3");
    ShowAndWait();
    EXPECT_EQ(tray->calls[0].icon, resources.Find("ANI_3"));
    EXPECT_EQ(icon->Icon(), resources.Find("ANI_3"));

    icon->SetIconResName("ANI_2");  // while shown: loaded and shown at once
    ASSERT_EQ(tray->calls.back().kind, TrayCall::kModify);
    EXPECT_EQ(tray->calls.back().icon, resources.Find("ANI_2"));

    icon->SetIconResName("NOT_THERE");  // nothing to show: the icon leaves the tray
    EXPECT_FALSE(icon->Notify());
    EXPECT_EQ(tray->calls.back().kind, TrayCall::kDelete);
}

TEST_F(NotifyIconTest, MissingResourceAtTheStartSwitchesTheTrayOff) {
    icon->SetIconResName("NOT_THERE");
    icon->SetNotify(true);
    ASSERT_TRUE(PumpUntil([&] { return !icon->Notify(); }, kWait));
    EXPECT_EQ(tray->Count(TrayCall::kAdd), 0);
}

TEST_F(NotifyIconTest, ApplicationIconAndOwnIconExcludeEachOther) {
    ShowAndWait();
    ASSERT_TRUE(icon->SetIcon(redIcon));
    EXPECT_EQ(tray->calls.back().icon, redIcon);
    icon->SetApplicationIcon(true);
    EXPECT_EQ(icon->Icon(), appIcon);
    EXPECT_EQ(tray->calls.back().icon, appIcon);
    ASSERT_TRUE(icon->SetIcon(redIcon));
    EXPECT_FALSE(icon->ApplicationIcon());
}

class NotifyIconSequenceTest : public NotifyIconTest {
protected:
    void StartAnimation(const char* stem, int frames) {
        icon->IconSequence().SetIsIconResName(stem);
        icon->IconSequence().SetIsSequences(frames);
        icon->IconSequence().SetIsInterval(30);
        icon->IconSequence().SetIsOn(true);
        icon->SetNotify(true);
    }
    std::vector<QString> ShownNames() const {
        std::vector<QString> names;
        for (const TIconImage& shown : tray->ShownIcons()) {
            QString name = "(none)";
            for (const char* n : {"ANI_1", "ANI_2", "ANI_3", "MAINICON"})
                if (!shown.IsEmpty() && resources.Find(n) == shown) name = n;
            if (shown == redIcon) name = "red";
            names.push_back(name);
        }
        return names;
    }
};

TEST_F(NotifyIconSequenceTest, FramesCycleAndTheStaticIconReturnsWhenSwitchedOff) {
    ASSERT_TRUE(icon->SetIcon(redIcon));
    StartAnimation("ANI", 3);
    ASSERT_TRUE(PumpUntil([&] { return tray->ShownIcons().size() >= 5; }, kWait));
    icon->IconSequence().SetIsOn(false);
    const std::vector<QString> expected{"ANI_1", "ANI_2", "ANI_3", "ANI_1", "ANI_2"};
    std::vector<QString> names = ShownNames();
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(std::vector<QString>(names.begin(), names.begin() + 5), expected);
    EXPECT_EQ(names.back(), "red");
    EXPECT_EQ(tray->calls[0].kind, TrayCall::kAdd);
    EXPECT_EQ(tray->Count(TrayCall::kAdd), 1);

    const size_t calls = tray->calls.size();
    PumpFor(150ms);
    EXPECT_EQ(tray->calls.size(), calls);
}

TEST_F(NotifyIconSequenceTest, MissingFrameStopsTheAnimationWithoutAnImage) {
    resources.Add("GAP_1", resources.Find("ANI_1"));
    StartAnimation("GAP", 3);
    ASSERT_TRUE(PumpUntil([&] { return tray->ShownIcons().size() >= 2; }, kWait));
    PumpFor(200ms);
    EXPECT_EQ(ShownNames(), (std::vector<QString>{"ANI_1", "(none)"}));
    EXPECT_TRUE(icon->Notify());
}

TEST_F(NotifyIconSequenceTest, MissingFirstFrameSwitchesTheTrayOff) {
    StartAnimation("NONE", 2);
    ASSERT_TRUE(PumpUntil([&] { return !icon->Notify(); }, kWait));
    PumpFor(100ms);
    EXPECT_EQ(tray->Count(TrayCall::kAdd), 0);
}

TEST_F(NotifyIconSequenceTest, TraySwitchedOffAndOnAgainAddsTheAnimationBack) {
    StartAnimation("ANI", 3);
    ASSERT_TRUE(PumpUntil([&] { return tray->ShownIcons().size() >= 2; }, kWait));
    icon->SetNotify(false);
    const size_t afterOff = tray->calls.size();
    PumpFor(100ms);
    EXPECT_EQ(tray->calls.size(), afterOff);  // no frames while the icon is out

    icon->SetNotify(true);
    ASSERT_TRUE(PumpUntil([&] { return tray->Count(TrayCall::kAdd) == 2; }, kWait));
    ASSERT_TRUE(PumpUntil([&] { return tray->calls.size() >= afterOff + 3; }, kWait));
    EXPECT_EQ(tray->calls[afterOff].kind, TrayCall::kAdd);
    EXPECT_FALSE(tray->calls[afterOff].icon.IsEmpty());
}

TEST_F(NotifyIconTest, ApplicationHideKeepsTheMainWindowHiddenAtTheStartUntilSwitchedOff) {
    icon->SetApplicationHide(true);
    EXPECT_FALSE(taskbar->showMainForm);
    icon->SetApplicationHide(false);
    EXPECT_TRUE(taskbar->showMainForm);
}

// The taskbar button goes only while the program is off the taskbar and the icon is docked in a tray,
// whatever comes first; every coming and going of the tray is told once.
enum class TrayStep { kHideOn, kHideOff, kNotifyOn, kNotifyOff, kTrayComes, kTrayGoes };

struct TTaskbarStep {
    TrayStep Step;
    bool DockChanges;  // the step docks the icon or takes it out of the tray
    bool Button;       // the taskbar button afterwards
};

struct TTaskbarSequence {
    const char* Name;
    std::vector<TTaskbarStep> Steps;
};

class NotifyIconTaskbarTest : public NotifyIconTest, public ::testing::WithParamInterface<TTaskbarSequence> {};

TEST_P(NotifyIconTaskbarTest, ButtonFollowsTheDockedIcon) {
    const QRect dockedAt(700, 1050, 16, 16);
    int dockChanges = 0;
    icon->OnDockChange = [&] { ++dockChanges; };
    for (size_t i = 0; i < GetParam().Steps.size(); ++i) {
        const TTaskbarStep& step = GetParam().Steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        const int before = dockChanges;
        switch (step.Step) {
            case TrayStep::kHideOn: icon->SetApplicationHide(true); break;
            case TrayStep::kHideOff: icon->SetApplicationHide(false); break;
            case TrayStep::kNotifyOn: icon->SetNotify(true); break;
            case TrayStep::kNotifyOff: icon->SetNotify(false); break;
            case TrayStep::kTrayComes: tray->iconGeometry = dockedAt; break;
            case TrayStep::kTrayGoes: tray->iconGeometry = QRect(); break;
        }
        if (step.DockChanges)
            ASSERT_TRUE(PumpUntil([&] { return dockChanges == before + 1; }, kWait)) << "the dock watch missed it";
        EXPECT_EQ(dockChanges, before + int(step.DockChanges));
        EXPECT_EQ(taskbar->taskbarButton, step.Button);
    }
}

std::vector<TTaskbarStep> TrayComingAndGoing(int times) {
    std::vector<TTaskbarStep> steps{{TrayStep::kNotifyOn, false, true}, {TrayStep::kHideOn, false, true}};
    for (int i = 0; i < times; ++i) {
        steps.push_back({TrayStep::kTrayComes, true, false});
        steps.push_back({TrayStep::kTrayGoes, true, true});
    }
    return steps;
}

using enum TrayStep;
INSTANTIATE_TEST_SUITE_P(
    Sequences, NotifyIconTaskbarTest,
    ::testing::Values(
        TTaskbarSequence{"NoTray", {{kNotifyOn, false, true}, {kHideOn, false, true}}},
        TTaskbarSequence{"TrayAtTheStart",
                         {{kTrayComes, false, true}, {kHideOn, false, true}, {kNotifyOn, true, false}}},
        TTaskbarSequence{"TrayComesAndGoesTenTimes", TrayComingAndGoing(10)},
        TTaskbarSequence{"SwitchedOffWhileDocked",
                         {{kTrayComes, false, true}, {kHideOn, false, true}, {kNotifyOn, true, false},
                          {kHideOff, false, true}, {kHideOn, false, false}, {kNotifyOff, true, true},
                          {kTrayGoes, false, true}}}),
    [](const ::testing::TestParamInfo<TTaskbarSequence>& info) { return std::string(info.param.Name); });

TEST_F(NotifyIconTest, SessionEndRemovesTheIconOnceAndStopsTheTimers) {
    icon->IconSequence().SetIsIconResName("ANI");
    icon->IconSequence().SetIsInterval(30);
    icon->IconSequence().SetIsOn(true);
    ShowAndWait();
    icon->SessionEnd();
    EXPECT_EQ(tray->calls.back().kind, TrayCall::kDelete);
    const size_t calls = tray->calls.size();
    PumpFor(120ms);
    icon.reset();
    EXPECT_EQ(tray->calls.size(), calls);
    EXPECT_EQ(tray->Count(TrayCall::kDelete), 1);
}

TEST(IconSequenceTest, SetterKinds) {
    TIconSequence sequence;
    int changes = 0;
    sequence.OnChange = [&] { ++changes; };
    EXPECT_FALSE(sequence.isOn());
    EXPECT_EQ(sequence.isSequences(), 2);
    EXPECT_EQ(sequence.isInterval(), 100);

    sequence.SetIsOn(false);  // always notifies
    sequence.SetIsOn(false);
    EXPECT_EQ(changes, 2);
    sequence.SetIsInterval(100);  // unchanged: quiet
    EXPECT_EQ(changes, 2);
    sequence.SetIsInterval(250);
    EXPECT_EQ(changes, 3);
    sequence.SetIsSequences(5);  // store only
    sequence.SetIsIconResName("ANI");
    EXPECT_EQ(changes, 3);

    TIconSequence copy;
    int copyChanges = 0;
    copy.OnChange = [&] { ++copyChanges; };
    copy.Assign(sequence);
    EXPECT_EQ(copy.isInterval(), 250);
    EXPECT_EQ(copy.isSequences(), 5);
    EXPECT_EQ(copy.isIconResName(), "ANI");
    EXPECT_EQ(copyChanges, 2);  // isOn and the changed interval
}

}  // namespace
