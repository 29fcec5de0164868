// Hollarin's own controls: the LED's looks and timer, the panel's offscreen rendering and scrolling,
// the wait window's counting and modes, and the read-only memo.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <thread>
#include <vector>

#include "installer/CanvasPanelEx.h"
#include "components/ColorButton.h"
#include "installer/ColorFrames.h"
#include "installer/DisplayMemo.h"
#include "installer/InstallerLed.h"
#include "installer/ShiftColorLuminance.h"
#include "installer/WaitForm.h"
#include "tests/components/widget_test_app.h"
#include "tests/installer/installer_test_support.h"

namespace {

using namespace hollarin;
using components::ToQColor;

QImage Rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

// The installer's frame fills only its inner area with the background: the ring a flat distance band
// of width 4 leaves unpainted (it draws 3 rings) shows the parent beneath, where the components' frame
// shows its background. Bands and inner area look the same in both.
TEST(InstallerColorFrames, OnlyTheInnerAreaTakesTheBackground) {
    constexpr components::TColor kParentGreen = 0x00FF00;
    const auto columns = [](bool installers) {
        QWidget parent;
        parent.resize(200, 60);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, ToQColor(kParentGreen));
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        components::TColorFrames* frame =
            installers ? new TColorFrames(&parent) : new components::TColorFrames(&parent);
        frame->setGeometry(0, 0, 185, 41);
        frame->BevelOuterSub().SetbpFill(components::bfNone);  // flat: white upper left
        frame->BevelOuterSub().SetbpWidth(2);
        frame->BevelDistanceSub().SetbpColor1(components::clRed);
        frame->BevelDistanceSub().SetbpWidth(4);
        const QImage image = Rendered(parent);
        std::vector<components::TColor> left;
        for (int x = 0; x <= 6; ++x) left.push_back(components::FromQColor(image.pixelColor(x, 20)));
        return left;
    };
    using namespace components;
    EXPECT_EQ(columns(false), (std::vector<TColor>{clWhite, clWhite, clRed, clRed, clRed, clSilver, clSilver}));
    EXPECT_EQ(columns(true), (std::vector<TColor>{clWhite, clWhite, clRed, clRed, clRed, kParentGreen, clSilver}));
}

TEST(InstallerLed, BandWidthOfTheShadedLookIsHalfTheSmallerSideRoundedUp) {
    struct Case {
        int Width, Height, Band;
    };
    for (const Case c : {Case{8, 8, 4}, Case{8, 15, 4}, Case{7, 15, 4}, Case{15, 9, 5}}) {
        TLed led;
        led.LedMainProp().SetLpWidth(c.Width);
        led.LedMainProp().SetLpHeight(c.Height);
        EXPECT_EQ(led.BandWidth(), c.Band) << c.Width << " x " << c.Height;
        EXPECT_EQ(led.size(), QSize(c.Width, c.Height));
    }
    TLed flat;
    flat.LedMainProp().SetLpStyle(lsFlat);
    EXPECT_EQ(flat.BandWidth(), 0);
    flat.LedMainProp().SetLpStyle(lsButton);
    EXPECT_EQ(flat.BandWidth(), 2);
}

TEST(InstallerLed, PaintsTheOnAndOffColoursOfItsTable) {
    TLed led;
    led.LedMainProp().SetLpStyle(lsFlat);
    led.Led().SetLlColor(lcdGreen);
    EXPECT_EQ(led.FaceColor(), 0x005000u);
    EXPECT_EQ(Rendered(led).pixelColor(4, 7), ToQColor(0x005000));
    led.LedMainProp().SetLpOn(true);
    EXPECT_EQ(led.StateValue(), 1);
    EXPECT_EQ(Rendered(led).pixelColor(4, 7), ToQColor(0x00FF00));

    // The grey button look, dark: face 0x909090, band shaded 80 down and 30 up.
    TLed gray;
    gray.Led().SetLlColor(lcdGray);
    gray.LedMainProp().SetLpStyle(lsButton);
    EXPECT_EQ(gray.FaceColor(), 9474192u);
    EXPECT_EQ(gray.BandColor1(), ShiftColorLuminance(0x909090, 80, false));
    EXPECT_EQ(gray.BandColor2(), ShiftColorLuminance(0x909090, 30, true));
    EXPECT_LT(components::GetRValue(gray.BandColor1()), 0x90);
    EXPECT_GT(components::GetRValue(gray.BandColor2()), 0x90);

    // A custom pair.
    TLed custom;
    custom.LedMainProp().SetLpStyle(lsFlat);
    custom.Led().SetLlColor(lcdCustom);
    custom.LedMainProp().SetLpOn(true);
    custom.Led().llCustomColor().SetCcColor2On(0x80FF80);
    EXPECT_EQ(Rendered(custom).pixelColor(4, 7), ToQColor(0x80FF80));
}

// The LED is a colour button that ignores presses; in the button look its band is the button's
// two-coloured band: the lighter colour on the upper left, the darker on the lower right (raised), one
// column and row in from the right and bottom edges, around the face.
TEST(InstallerLed, DrawsThroughItsColourButton) {
    TLed led;
    EXPECT_FALSE(led.Button().PressReaction());
    EXPECT_EQ(led.Button().ButtonValue(), 0);
    EXPECT_EQ(led.Button().geometry(), QRect(0, 0, 8, 15));
    led.Led().SetLlColor(lcdGray);
    led.LedMainProp().SetLpStyle(lsButton);  // dark: face 0x909090, band 80 down and 30 up
    const TColor darker = ShiftColorLuminance(0x909090, 80, false);
    const TColor lighter = ShiftColorLuminance(0x909090, 30, true);
    const QImage image = Rendered(led);
    const struct {
        int x, y;
        TColor expected;
    } pixels[] = {
        {0, 7, lighter}, {1, 7, lighter}, {4, 0, lighter}, {4, 1, lighter},  // upper left
        {7, 7, darker},  {6, 7, darker},  {4, 14, darker}, {4, 13, darker},  // lower right
        {3, 7, 0x909090},                                                    // the face
    };
    for (const auto& p : pixels)
        EXPECT_EQ(components::FromQColor(image.pixelColor(p.x, p.y)), p.expected) << p.x << "," << p.y;
}

TEST(InstallerLed, BlinkingAndAutoOffRunOnTheTimer) {
    TLed led;
    led.LedMainProp().SetLpBlinking(true);
    EXPECT_TRUE(led.TimerRunning());
    led.LedMainProp().SetLpOn(true);
    EXPECT_FALSE(led.LedMainProp().lpOn()) << "lpOn is ignored while blinking";
    led.TimerTick();
    EXPECT_TRUE(led.LedMainProp().lpOn());
    led.TimerTick();
    EXPECT_FALSE(led.LedMainProp().lpOn());

    led.LedMainProp().SetLpAutoOff(true);
    EXPECT_FALSE(led.LedMainProp().lpBlinking()) << "auto-off switches blinking off";
    led.LedMainProp().SetLpOffDelay(10);
    EXPECT_EQ(led.LedMainProp().lpOffDelay(), 50);
    EXPECT_EQ(led.TimerInterval(), 500) << "the new delay waits for the next change";
    led.LedMainProp().SetLpOn(true);
    EXPECT_EQ(led.TimerInterval(), 50);
    EXPECT_TRUE(led.TimerRunning());
    const TColor onFace = led.FaceColor();
    led.TimerTick();  // dark at the first tick
    EXPECT_NE(led.FaceColor(), onFace);
    EXPECT_TRUE(led.TimerRunning());
    led.TimerTick();  // the timer ends at the second
    EXPECT_FALSE(led.TimerRunning());
    EXPECT_FALSE(led.LedMainProp().lpOn());
}

TEST(InstallerPanel, RendersOffscreenAtOnceAndLeavesItsShapeTransparentOutside) {
    QWidget window;  // the panel paints only on a visible parent
    window.resize(200, 100);
    window.show();
    TCanvasPanelEx panel(&window);
    panel.resize(120, 40);
    panel.Shape().SetshShape(components::psEllipse);
    panel.Fill().SetfpColor1(0x0000FF);
    panel.Fill().SetfpColor2(0x0000FF);
    panel.SetCaption(QStringLiteral("Get VLC"));
    EXPECT_EQ(panel.Offscreen().size(), QSize(120, 40));
    EXPECT_EQ(panel.Offscreen().pixelColor(0, 0).alpha(), 0) << "outside the ellipse";
    EXPECT_GT(panel.Offscreen().pixelColor(60, 5).alpha(), 0) << "inside";
}

TEST(InstallerPanel, ScrollingMovesTheContentAndWrapsAround) {
    TCanvasPanelEx panel;
    panel.resize(200, 40);
    TScrolling& scrolling = panel.Scrolling();
    EXPECT_FALSE(scrolling.ScrollWindow()->isVisible()) << "made hidden with the panel";
    scrolling.SetScWidth(1000);
    EXPECT_LE(scrolling.scWidth(), 200) << "kept inside the panel's frame";
    scrolling.SetScLeft(-5);
    EXPECT_GE(scrolling.scLeft(), 0);

    scrolling.SetScX(3);
    scrolling.SetScDirection(sdRightLeft);
    EXPECT_EQ(scrolling.scX(), -3);
    EXPECT_EQ(scrolling.scY(), 0);
    scrolling.SetScDirection(sdTopDown);
    EXPECT_EQ(scrolling.scX(), 0);
    EXPECT_EQ(scrolling.scY(), 1);

    scrolling.SetScDirection(sdLeftRight);
    scrolling.SetScText({QStringLiteral("Hello"), QStringLiteral("world")});
    scrolling.Tick();
    ASSERT_TRUE(scrolling.Built());
    const int contentWidth = scrolling.Content().width();
    EXPECT_GT(contentWidth, 20);
    EXPECT_EQ(scrolling.Offset().x(), -contentWidth + 1);
    QImage opaque = scrolling.Content();
    bool inked = false;
    for (int x = 0; x < opaque.width() && !inked; ++x)
        for (int y = 0; y < opaque.height() && !inked; ++y) inked = opaque.pixelColor(x, y).alpha() > 0;
    EXPECT_TRUE(inked) << "the text is drawn into the content";
    for (int i = 0; i < contentWidth + scrolling.scWidth(); ++i) scrolling.Tick();
    EXPECT_EQ(scrolling.Offset().x(), -contentWidth) << "wrapped to the start";
    scrolling.SetScActivate(false);
    EXPECT_FALSE(scrolling.ScrollWindow()->isVisible());
}

TEST(InstallerWaitForm, CountsShowsAndEndsAndKeepsTheOwnerDisabledMeanwhile) {
    QWidget owner;
    TWait_Form wait;
    wait.ShowWait(kWaitModeDownloading, &owner);
    EXPECT_EQ(wait.ShowCount(), 0) << "a hidden owner: nothing, not counted";
    EXPECT_FALSE(wait.isVisible());

    owner.resize(400, 300);
    owner.show();
    wait.ShowWait(kWaitModeUnpacking, &owner);
    wait.ShowWait(kWaitModeDownloading, &owner);
    EXPECT_EQ(wait.ShowCount(), 2);
    EXPECT_EQ(wait.Mode(), kWaitModeUnpacking) << "the second show finds it visible";
    EXPECT_EQ(wait.InfoText(), QStringLiteral("... unpacking ..."));
    EXPECT_EQ(wait.GaugeMax(), 5);
    EXPECT_TRUE(wait.GaugeTimerRunning());
    EXPECT_FALSE(owner.isEnabled());

    for (int expected : {1, 2, 3, 4, 5, 1}) {
        wait.GaugeTimerTick();
        EXPECT_EQ(wait.GaugePosition(), expected);
    }

    wait.EndWait();
    EXPECT_TRUE(wait.Showing()) << "two shows need two ends";
    wait.EndWait();
    EXPECT_FALSE(wait.GaugeTimerRunning());
    EXPECT_TRUE(wait.isVisible()) << "stays up for its minimum time";
    EXPECT_FALSE(owner.isEnabled());
    ASSERT_TRUE(installer_test::SpinUntil([&] { return !wait.isVisible(); }, std::chrono::seconds(5)));
    EXPECT_TRUE(owner.isEnabled());
}

TEST(InstallerWaitForm, ModesAndBreak) {
    QWidget owner;
    owner.show();
    TWait_Form wait;
    std::vector<int> breaks;
    wait.OnBreak = [&](int mode) { breaks.push_back(mode); };
    wait.SetGaugeMax(35617000);
    wait.ShowWait(kWaitModeDownloading, &owner);
    EXPECT_EQ(wait.InfoText(), QStringLiteral("... downloading ..."));
    EXPECT_EQ(wait.GaugeMax(), 35617000) << "mode 2 keeps the caller's maximum";
    EXPECT_TRUE(wait.GaugeShown());
    EXPECT_FALSE(wait.GaugeTimerRunning());
    QTest::mouseClick(&wait.BreakButton(), Qt::LeftButton);
    EXPECT_EQ(breaks, std::vector<int>{kWaitModeDownloading});
    wait.EndWait();
    ASSERT_TRUE(installer_test::SpinUntil([&] { return !wait.isVisible(); }, std::chrono::seconds(5)));

    wait.ShowWait(kWaitModeDownload, &owner);
    EXPECT_EQ(wait.InfoText(), QStringLiteral("... Download ..."));
    EXPECT_FALSE(wait.GaugeShown());
    wait.EndWait();
    wait.ShowWait(kWaitModePreparing, &owner);  // while it waits out its time: kept up in the new mode
    EXPECT_TRUE(wait.Showing());
    EXPECT_EQ(wait.InfoText(), QStringLiteral("... preparing ..."));
    wait.EndWait();
}

TEST(InstallerDisplayMemo, KeysScrollNothingEditsAndAClickFocusesWithoutACaret) {
    QWidget window;
    window.resize(220, 100);
    auto* other = new QLineEdit(&window);
    other->setGeometry(0, 70, 200, 24);
    auto* memo = new TDisplayMemo(&window);
    memo->setGeometry(0, 0, 200, 60);
    QString text;
    for (int i = 0; i < 50; ++i) text += QStringLiteral("line %1\n").arg(i);
    memo->setPlainText(text);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(memo->verticalScrollBar()->value(), 0);
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(memo->verticalScrollBar()->value(), 1);
    QTest::keyClick(memo, Qt::Key_End);
    EXPECT_EQ(memo->verticalScrollBar()->value(), memo->verticalScrollBar()->maximum());
    QTest::keyClick(memo, Qt::Key_Home);
    EXPECT_EQ(memo->verticalScrollBar()->value(), 0);
    const QString before = memo->toPlainText();
    QTest::keyClicks(memo, "abc");
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), before) << "typing changes nothing";

    // A left click gives the memo the focus without a caret; losing the focus shows the caret again.
    other->setFocus();
    ASSERT_TRUE(other->hasFocus());
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(memo->hasFocus()) << "the click did not focus the memo";
    EXPECT_EQ(memo->cursorWidth(), 0) << "a caret while it has the focus";
    other->setFocus();
    EXPECT_FALSE(memo->hasFocus());
    EXPECT_EQ(memo->cursorWidth(), 1) << "no caret once the focus has gone";
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(memo->hasFocus()) << "the click did not focus the memo again";
    EXPECT_EQ(memo->cursorWidth(), 0) << "a caret while it has the focus again";
}

// The memo swallows the left button's press, release and double click; the other buttons' go to the
// text box's own handling, which, read-only and without text interaction, passes them on to the parent.
TEST(InstallerDisplayMemo, SwallowsTheLeftButtonOnly) {
    class TButtonRecorder final : public QObject {
    public:
        std::vector<std::pair<QEvent::Type, Qt::MouseButton>> seen;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
                event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseMove)
                seen.emplace_back(event->type(), static_cast<QMouseEvent*>(event)->button());
            return false;
        }
    };
    QWidget parent;
    parent.resize(220, 80);
    auto* memo = new TDisplayMemo(&parent);
    memo->setGeometry(0, 0, 200, 60);
    memo->setPlainText(QStringLiteral("IMPORTANT INFORMATION !"));
    TButtonRecorder recorder;
    parent.installEventFilter(&recorder);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const struct {
        Qt::MouseButton button;
        bool passedOn;
    } cases[] = {{Qt::LeftButton, false}, {Qt::RightButton, true}, {Qt::MiddleButton, true}};
    for (const auto& c : cases) {
        recorder.seen.clear();
        QTest::mousePress(memo->viewport(), c.button, {}, QPoint(10, 10));
        QTest::mouseRelease(memo->viewport(), c.button, {}, QPoint(10, 10));
        QTest::mouseDClick(memo->viewport(), c.button, {}, QPoint(10, 10));
        const auto passed = [&](QEvent::Type type) {
            const auto& seen = recorder.seen;
            return std::find(seen.begin(), seen.end(), std::pair{type, c.button}) != seen.end();
        };
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick})
            EXPECT_EQ(passed(type), c.passedOn) << "button " << int(c.button) << ", event " << int(type);
    }
    recorder.seen.clear();
    QTest::mouseMove(memo->viewport(), QPoint(30, 20));
    EXPECT_TRUE(recorder.seen.empty()) << "mouse moves are swallowed";
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("IMPORTANT INFORMATION !"));
}

}  // namespace
