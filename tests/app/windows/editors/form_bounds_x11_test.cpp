// The windows whose place the registry keeps, opened and closed again and again on a real X11 desktop
// under a real window manager (openbox, which draws a title bar over each): every opening after the
// first stands where the first one stood, as the X server has it.
#include <gtest/gtest.h>

#include <QDialog>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};
constexpr int kOpenings = 5;
constexpr int kTolerancePx = 1;

struct TCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> make;
};

class FormBoundsTest : public ::testing::TestWithParam<TCase> {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
    }
    void TearDown() override { windowManager.reset(); }

    // Shown, taken in by the window manager and settled: where the X server has the client area.
    QRect OpenAndPlace(QDialog& form) {
        form.show();
        const auto managed = [&] {
            const QWindow* window = form.windowHandle();
            return window && x11.HasProperty(xcb_window_t(window->winId()), "_NET_FRAME_EXTENTS") &&
                   !x11.ScreenRect(xcb_window_t(window->winId())).isEmpty();
        };
        if (!PumpUntil(managed, kWaitMs)) return {};
        // The window manager may still move the window it just framed: the place counts once it holds.
        QRect place;
        PumpUntil(
            [&] {
                const QRect now = x11.ScreenRect(xcb_window_t(form.windowHandle()->winId()));
                const bool settled = now == place;
                place = now;
                fw_test::PumpFor(100ms);
                return settled;
            },
            kWaitMs);
        return place;
    }

    fw_test::TempDir dir;
    fw_test::XcbReader x11;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
};

TEST_P(FormBoundsTest, ComesBackWhereItWasClosed) {
    std::unique_ptr<QDialog> form = GetParam().make();
    QRect first;
    for (int opening = 1; opening <= kOpenings; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening));
        const QRect place = OpenAndPlace(*form);
        ASSERT_FALSE(place.isEmpty()) << "the window manager did not take the window";
        if (opening == 1) first = place;
        EXPECT_LE(std::abs(place.left() - first.left()), kTolerancePx) << place.left() << " vs " << first.left();
        EXPECT_LE(std::abs(place.top() - first.top()), kTolerancePx) << place.top() << " vs " << first.top();
        EXPECT_EQ(place.size(), first.size());
        form->reject();  // the close stores the bounds
        ASSERT_TRUE(PumpUntil([&] { return !form->isVisible(); }, kWaitMs));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, FormBoundsTest,
    ::testing::Values(TCase{"CaptureEditor", [] { return std::make_unique<app::TCaptureSettings_Form>(app::TCaptureEditorContext{}); }},
                      TCase{"PageEditor", [] { return std::make_unique<app::THtml_Form>(); }}),
    [](const ::testing::TestParamInfo<TCase>& info) { return std::string(info.param.name); });

}  // namespace
