// The tray icon on a real desktop: an Xvfb of the program's own with a real tray host (trayer) into
// which the real QSystemTrayIcon docks. Input is real (XTest through xdotool); where the windows are is
// read back from the X server. Covers the drop target over the icon (placement, forwarded mouse and
// dropped files, hint, following a moving tray, switched off with the tray) and what the plain icon
// delivers, and bad input: no tray host, the tray host killed, damaged icon images.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>
#include <chrono>
#include <mutex>

#include "components/NotifyIcon.h"
#include "components/QtAppTaskbar.h"
#include "components/QtTrayArea.h"
#include "components/TrayMessages.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

using namespace components;
using fw_test::PumpFor;
using fw_test::PumpUntil;
using fw_test::Xdo;

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

constexpr int kDoubleClickMs = 1000;  // generous: XTest clicks of a busy machine still pair up
constexpr std::chrono::milliseconds kWaitMs{10000};
constexpr int kFollowMs = 1000;       // the tray watch catches up within this

// Warnings of the program, for the lines the tray icon logs.
struct LogCapture {
    LogCapture() {
        Lines().clear();
        previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            std::lock_guard lock(Mutex());
            Lines().push_back(text);
        });
    }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    static bool Has(const QString& part) {
        std::lock_guard lock(Mutex());
        for (const QString& line : Lines())
            if (line.contains(part)) return true;
        return false;
    }

private:
    static std::vector<QString>& Lines() {
        static std::vector<QString> lines;
        return lines;
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    QtMessageHandler previous_;
};

TIconImage SolidIcon(QRgb colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    return TIconImage::Encode4Bit(image, 16);
}

std::string Num(int v) { return std::to_string(v); }

class TrayHostTest : public ::testing::Test {
protected:
    TrayHostTest() {
        QApplication::setDoubleClickInterval(kDoubleClickMs);
        resources.Add("MAINICON", SolidIcon(qRgb(0, 0, 255)));
    }
    ~TrayHostTest() override {
        icon.reset();
        trayHost.reset();
        EXPECT_TRUE(PumpUntil([] { return !QSystemTrayIcon::isSystemTrayAvailable(); }, kWaitMs))
            << "the tray host outlived the test";
    }

    // trayer along the bottom edge of the screen, at its right end.
    void StartTrayHost() {
        trayHost = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
            "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(PumpUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, kWaitMs))
            << "the tray host never took the tray selection";
    }

    void MakeIcon() {
        auto area = std::make_unique<TQtTrayArea>();
        trayArea = area.get();
        icon = std::make_unique<TNotifyIcon>(std::move(area), std::make_unique<TQtAppTaskbar>(), resources);
        icon->OnIconError = [this](const QString& message) { errors.push_back(message); };
        icon->OnLButtonClick = [this] { ++leftClicks; };
        icon->OnLButtonDblClick = [this] { ++leftDoubleClicks; };
        icon->OnRButtonClick = [this] { ++rightClicks; };
        icon->OnRButtonDblClick = [this] { ++rightDoubleClicks; };
    }

    // The icon in the tray with its drop target; every message of the drop window is recorded on its
    // way to the icon.
    void ShowWithDropTarget() {
        MakeIcon();
        icon->SetIconHint("Framewick");
        icon->SetDragDrop(true);
        icon->DropWindow()->SetForwardTarget([this](uint32_t message) {
            forwarded.push_back(message);
            if (message == tray_message::kMouseEnter) sinceEnter.start();
            icon->TrayMessage(message);
        });
        icon->SetNotify(true);
        ASSERT_TRUE(PumpUntil([&] { return DropWindowOverIcon(); }, kWaitMs))
            << "icon at " << Text(trayArea->IconGeometry()) << ", drop window at " << Text(DropRect());
    }

    QRect DropRect() { return icon->DropWindow() ? ScreenRect(*icon->DropWindow()) : QRect(); }
    QRect HintRect() { return icon->HintWindow() ? ScreenRect(*icon->HintWindow()) : QRect(); }
    // The window the toolkit has now (it makes a new one when a first show needs other flags).
    QRect ScreenRect(const QWidget& widget) {
        const QWindow* window = widget.windowHandle();
        return window ? x11.ScreenRect(xcb_window_t(window->winId())) : QRect();
    }

    // 16 x 16, centred on the icon's place as the X server has both.
    bool DropWindowOverIcon() {
        const QRect iconPlace = trayArea->IconGeometry();
        const QRect drop = DropRect();
        if (iconPlace.isEmpty() || drop.size() != QSize(16, 16) || !iconPlace.contains(drop)) return false;
        const QPoint offset = drop.center() - iconPlace.center();
        return std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
    }

    bool Forwarded(uint32_t message) const {
        return std::find(forwarded.begin(), forwarded.end(), message) != forwarded.end();
    }

    static std::string Text(const QRect& r) {
        return Num(r.x()) + "," + Num(r.y()) + " " + Num(r.width()) + "x" + Num(r.height());
    }

    void PointerTo(QPoint p) {
        ASSERT_TRUE(Xdo({"mousemove", Num(p.x()), Num(p.y())}));
        PumpFor(100ms);
    }

    fw_test::XcbReader x11;
    std::unique_ptr<fw_test::ChildProcess> trayHost;
    TIconResources resources;
    TQtTrayArea* trayArea = nullptr;
    std::unique_ptr<TNotifyIcon> icon;
    std::vector<QString> errors;
    std::vector<uint32_t> forwarded;
    QElapsedTimer sinceEnter;
    int leftClicks = 0, leftDoubleClicks = 0, rightClicks = 0, rightDoubleClicks = 0;
};

TEST_F(TrayHostTest, DropWindowStandsOverTheDockedIconAndTakesItsRightDoubleClicks) {
    StartTrayHost();
    ShowWithDropTarget();
    EXPECT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_TRUE(icon->DragDrop());
    const auto dropWindow = xcb_window_t(icon->DropWindow()->windowHandle()->winId());
    EXPECT_TRUE(x11.HasAtom(dropWindow, "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_TRUE(x11.HasAtom(dropWindow, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE"));

    PointerTo(DropRect().center());
    ASSERT_TRUE(Xdo({"click", "--repeat", "2", "--delay", "80", "3"}));
    ASSERT_TRUE(PumpUntil([&] { return rightDoubleClicks == 1; }, kWaitMs));
    PumpFor(std::chrono::milliseconds(kDoubleClickMs + 200));
    EXPECT_EQ(rightDoubleClicks, 1);
    EXPECT_EQ(rightClicks, 0) << "the waiting single click was not dropped";
    const auto press = std::find(forwarded.begin(), forwarded.end(), tray_message::kRButtonDown);
    ASSERT_NE(press, forwarded.end());
    EXPECT_NE(std::find(press, forwarded.end(), tray_message::kRButtonDblClk), forwarded.end());

    ASSERT_TRUE(Xdo({"click", "--repeat", "2", "--delay", "80", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return leftDoubleClicks == 1; }, kWaitMs));
    EXPECT_TRUE(Forwarded(tray_message::kMouseEnter));
    EXPECT_TRUE(Forwarded(tray_message::kMouseMove));
}

TEST_F(TrayHostTest, HintShowsAfterTheHintPauseAndGoesOnLeave) {
    StartTrayHost();
    ShowWithDropTarget();
    PointerTo({300, 300});
    const QPoint pointer = DropRect().center();
    PointerTo(pointer);
    ASSERT_TRUE(PumpUntil([&] { return Forwarded(tray_message::kMouseEnter); }, kWaitMs));
    ASSERT_TRUE(PumpUntil([&] { return !HintRect().isEmpty(); }, kWaitMs)) << "no hint";
    EXPECT_GE(sinceEnter.elapsed(), TDragDropHintWindow::HintPauseMs() - 20);
    EXPECT_EQ(icon->HintWindow()->Text(), "Framewick");

    const QRect hint = HintRect();
    EXPECT_EQ(hint.topLeft(), pointer - QPoint(0, 20));
    // On the screen, once painted: a black frame around the tooltip colour.
    const QRgb background = icon->HintWindow()->palette().toolTipBase().color().rgb();
    const std::vector<QPoint> frame{{0, 0}, {hint.width() - 1, 0}, {0, hint.height() - 1},
                                    {hint.width() - 1, hint.height() - 1}, {hint.width() / 2, 0}};
    QImage shot;
    EXPECT_TRUE(PumpUntil(
        [&] {
            shot = QGuiApplication::primaryScreen()->grabWindow(0, hint.x(), hint.y(), hint.width(), hint.height()).toImage();
            return shot.pixel(1, hint.height() / 2) == background;
        },
        kWaitMs));
    for (const QPoint p : frame) EXPECT_EQ(shot.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();

    PointerTo({300, 300});
    ASSERT_TRUE(PumpUntil([&] { return HintRect().isEmpty(); }, kWaitMs)) << "the hint stayed after the leave";
    EXPECT_TRUE(Forwarded(tray_message::kMouseLeave));
}

// Another program drags onto the drop window: files are taken and the drop forwarded, anything else
// is refused.
TEST_F(TrayHostTest, FilesDroppedFromAnotherProgramAreForwardedOtherDataRefused) {
    StartTrayHost();
    ShowWithDropTarget();
    fw_test::TempDir dir;
    fw_test::WriteFile(dir / "dropped.txt", "dropped on the tray");
    const struct Case {
        std::string dragged;
        bool taken;
    } cases[] = {{(dir / "dropped.txt").string(), true}, {"some words, no file", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dragged);
        forwarded.clear();
        const std::filesystem::path report = dir / "report.txt";
        std::filesystem::remove(report);
        fw_test::ChildProcess source({DRAG_SOURCE, c.dragged, report.string()});
        ASSERT_TRUE(PumpUntil([&] { return fw_test::ReadFile(report) == "shown"; }, kWaitMs)) << "no drag source";

        const QPoint target = DropRect().center();
        PointerTo({30, 30});
        ASSERT_TRUE(Xdo({"mousedown", "1"}));
        PumpFor(200ms);
        // The way to the tray in steps, the last ones over the drop window, so the drag sees it arrive.
        for (const QPoint step : {QPoint(60, 60), QPoint(300, 300), target - QPoint(4, 0), target, target + QPoint(1, 1)}) {
            PointerTo(step);
            PumpFor(150ms);
        }
        ASSERT_TRUE(Xdo({"mouseup", "1"}));
        const std::string outcome = c.taken ? "dropped" : "refused";
        EXPECT_TRUE(PumpUntil([&] { return fw_test::ReadFile(report) == outcome; }, kWaitMs))
            << "the drag source saw: " << fw_test::ReadFile(report);
        PumpFor(100ms);
        EXPECT_EQ(Forwarded(tray_message::kDropFiles), c.taken);
    }
}

TEST_F(TrayHostTest, DropWindowFollowsTheTrayWhenItMoves) {
    StartTrayHost();
    ShowWithDropTarget();
    const QRect before = DropRect();
    std::string panel;
    ASSERT_EQ(fw_test::RunProgram({"xdotool", "search", "--classname", "^panel$"}, &panel), 0);
    panel = panel.substr(0, panel.find('\n'));
    ASSERT_TRUE(Xdo({"windowmove", panel, "300", "200"}));
    QElapsedTimer moved;
    moved.start();
    ASSERT_TRUE(PumpUntil([&] { return DropRect() != before && DropWindowOverIcon(); }, kWaitMs))
        << "icon at " << Text(trayArea->IconGeometry()) << ", drop window at " << Text(DropRect());
    EXPECT_LT(moved.elapsed(), kFollowMs);
    EXPECT_TRUE(QRect(300, 200, 100, 24).contains(DropRect()));
}

TEST_F(TrayHostTest, NotifyOffTakesTheDropTargetAlong) {
    StartTrayHost();
    ShowWithDropTarget();
    icon->SetNotify(false);
    EXPECT_FALSE(icon->DragDrop());
    ASSERT_TRUE(PumpUntil([&] { return DropRect().isEmpty(); }, kWaitMs));
    EXPECT_TRUE(trayArea->IconGeometry().isEmpty());
    PumpFor(3 * std::chrono::milliseconds(TNotifyIcon::kTrayWatchMs));
    EXPECT_TRUE(DropRect().isEmpty()) << "the tray watch brought the drop window back";
}

TEST_F(TrayHostTest, SessionEndTakesTheIconAndTheDropTargetAwayOnce) {
    StartTrayHost();
    ShowWithDropTarget();
    const QWidget* dropWindow = icon->DropWindow();
    ASSERT_NE(dropWindow, nullptr);
    icon->SessionEnd();
    EXPECT_EQ(icon->DropWindow(), nullptr);
    EXPECT_EQ(icon->HintWindow(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return trayArea->IconGeometry().isEmpty(); }, kWaitMs));
    PumpFor(3 * std::chrono::milliseconds(TNotifyIcon::kTrayWatchMs));  // no timer ticks into what is gone
    icon.reset();                                 // and the destructor after it has nothing left to do
}

// The plain icon (no drop target) through the platform's tray: a left double click arrives, a right
// double click comes as one right press only.
TEST_F(TrayHostTest, PlainIconDeliversLeftDoubleClicksButARightOneAsASingleClick) {
    StartTrayHost();
    MakeIcon();
    icon->SetNotify(true);
    ASSERT_TRUE(PumpUntil([&] { return !trayArea->IconGeometry().isEmpty(); }, kWaitMs));
    PointerTo(trayArea->IconGeometry().center());
    ASSERT_TRUE(Xdo({"click", "--repeat", "2", "--delay", "80", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return leftDoubleClicks == 1; }, kWaitMs));
    ASSERT_TRUE(Xdo({"click", "--repeat", "2", "--delay", "80", "3"}));
    ASSERT_TRUE(PumpUntil([&] { return rightClicks == 1; }, kWaitMs));
    PumpFor(std::chrono::milliseconds(kDoubleClickMs + 200));
    EXPECT_EQ(rightDoubleClicks, 0);
    EXPECT_EQ(rightClicks, 1);
    EXPECT_EQ(leftClicks, 0);
}

TEST_F(TrayHostTest, WithoutATrayHostTheDropWindowWaitsHiddenForOne) {
    LogCapture log;
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    MakeIcon();
    icon->SetDragDrop(true);
    icon->SetNotify(true);
    PumpFor(1000ms);
    EXPECT_TRUE(icon->Notify());
    EXPECT_TRUE(DropRect().isEmpty());
    EXPECT_TRUE(log.Has("the desktop has no notification area"));

    StartTrayHost();  // a tray that comes later takes the icon, and the drop window goes over it
    EXPECT_TRUE(PumpUntil([&] { return DropWindowOverIcon(); }, kWaitMs));
}

TEST_F(TrayHostTest, TrayHostKilledHidesTheDropWindow) {
    LogCapture log;
    StartTrayHost();
    ShowWithDropTarget();
    trayHost->Kill();
    ASSERT_TRUE(PumpUntil([&] { return DropRect().isEmpty(); }, kWaitMs)) << "the drop window stayed";
    EXPECT_TRUE(log.Has("the notification area is gone"));
    EXPECT_TRUE(icon->DragDrop());  // it waits for a tray to come back
    PumpFor(500ms);
    EXPECT_TRUE(DropRect().isEmpty());
}

TEST_F(TrayHostTest, DamagedIconImagesAreRefusedAndLeaveTheDropWindowHidden) {
    const QByteArray good = SolidIcon(qRgb(255, 0, 0)).Bytes();
    QByteArray farOffset = good;
    farOffset[6 + 12] = char(0xF0);  // the image would start far past the end of the file
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"cut inside the directory", good.left(14), "Icon-Format 0x0 is not supported !\r"},
        {"image past the end", farOffset, "Icon-Format 0 bits per pixel is not supported !\r"},
        {"pixels cut short", good.left(good.size() - 40),
         QString("Icon-Image is damaged: %1 of its %2 bytes are there !").arg(good.size() - 40).arg(good.size())},
    };
    StartTrayHost();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        resources.Add("MAINICON", TIconImage(c.bytes));
        MakeIcon();
        icon->SetDragDrop(true);
        icon->SetNotify(true);
        PumpFor(3 * std::chrono::milliseconds(TNotifyIcon::kStartDelayMs));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_TRUE(errors[0].startsWith(c.message)) << errors[0].toStdString();
        EXPECT_TRUE(trayArea->IconGeometry().isEmpty());
        EXPECT_TRUE(DropRect().isEmpty());
    }
}

}  // namespace
