// A window's class name and caption in any script, from a real X window (an Xvfb of the test's own)
// through the window picker of a new capture service's editor into capture.xml, and back to the
// window: the job's window search and the screen-capture filter (through COM, grabbing the window's
// green) find it by what capture.xml holds. Texts of up to 254 characters arrive whole, longer ones
// cut after 254 characters; bytes that are no UTF-8 arrive as U+FFFD, so whatever a foreign client
// sets is shown, stored and found again.
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <stdlib.h>
#include <xcb/xcb.h>

#include <QString>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/CaptureSourcePage.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/Setup_ScreenCapture_Frame.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/pickers/WndList_Form.h"
#include "app/windows/toolbar/TopFrame.h"
#include "components/CanvasPanelEx.h"
#include "engine/capture/job/CaptureGraphInput.h"
#include "engine/capture/settings/CaptureRect.h"
#include "engine/graphs/FgScreenCaptureInput.h"
#include "platform/com/com.h"
#include "platform/filters/ScreenCaptureData.h"
#include "tests/app/parts/main_window_fixture.h"
#include "tests/common/dialog_test_support.h"
#include "tests/platform/filters/filter_picture.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/XTestWindow.h"

namespace {

using namespace std::chrono_literals;

constexpr int kScreenWidth = 1024, kScreenHeight = 768;
constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;
constexpr int kWindowWidth = 320, kWindowHeight = 240;
constexpr auto kShownWithin = 10s;
constexpr size_t kAddButton = 2;  // Start, Stop, Add, ...
const std::string kFffd = "\xEF\xBF\xBD";  // U+FFFD

// The X server the program's display layer and the filter's library ask ($DISPLAY), started before
// any test makes a main window.
class WindowServer : public ::testing::Environment {
public:
    void SetUp() override {
        server_ = std::make_unique<fw_test::PrivateXServer>(kScreenWidth, kScreenHeight);
        ASSERT_TRUE(server_->ok()) << "Xvfb did not start";
        ::setenv("DISPLAY", server_->name().c_str(), 1);
    }
    void TearDown() override { server_.reset(); }

private:
    std::unique_ptr<fw_test::PrivateXServer> server_;
};
::testing::Environment* const kWindowServer = ::testing::AddGlobalTestEnvironment(new WindowServer);

// count characters from first on, step code points apart, as UTF-8.
std::string CodePoints(char32_t first, int count, int step = 1) {
    std::u32string text;
    for (int i = 0; i < count; ++i) text.push_back(first + char32_t(i * step));
    return QString::fromUcs4(text.data(), qsizetype(text.size())).toStdString();
}

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Class name and caption of the capture service the file lists last.
struct TStoredNames {
    std::string Class, Caption;
};
TStoredNames LastStoredNames(const std::filesystem::path& captureXml) {
    pugi::xml_document doc;
    if (!doc.load_file(captureXml.c_str())) return {};
    pugi::xml_node last;
    for (pugi::xml_node entry : doc.child("CAPTURE_LIST").children("CAPTURE_LIST_ENTRY")) last = entry;
    const pugi::xml_node params = last.child("SCREENCAPTURE_PARAMS");
    return {params.child_value("sClass"), params.child_value("sCaption")};
}

// The screen-capture filter set up as a job sets it up for params.
ComPtr<IScreenCaptureData> FilterFor(const engine::TScreenCaptureParams& params) {
    ComPtr<IScreenCaptureData> filter;
    if (CoCreate(CLSID_ScreenCaptureFilter, filter) != S_OK) return {};
    const engine::TFgSpreadInputParams input = engine::BuildCaptureGraphInput(params, {}, 0, 25);
    if (filter->SetCaptureParams(engine::PackScreenCaptureFilterParams(input.ScreenCapture)) != S_OK) return {};
    return filter;
}

class PickedWindowTextsTest : public fw_test::MainWindowFixture {};

TEST_F(PickedWindowTextsTest, NamesOfAnyScriptGoThroughThePickerAndCaptureXmlAndFindTheWindow) {
    const std::string cjk200 = CodePoints(U'\u4E00', 200, 3);  // 600 bytes
    const auto cyrillic = [](int count) {  // А..я, again and again: two bytes each
        std::string text;
        for (int i = 0; i < count; ++i) text += CodePoints(U'\u0410' + char32_t(i % 64), 1);
        return text;
    };
    const std::string invalid = "Bad \xFF caption \xC3" + Repeat("\xE2\x82", 300);  // each "\xE2\x82" is cut short
    const struct {
        const char* what;
        std::string cls, caption;              // as the window sets them
        std::string storedCls, storedCaption;  // as the picker takes them
    } cases[] = {
        {"CJK caption of 200 characters", "FwCjk", cjk200, "FwCjk", cjk200},
        {"Cyrillic class and caption of 300 characters", cyrillic(300), cyrillic(300), cyrillic(254), cyrillic(254)},
        {"caption that is no UTF-8", "FwBroken", invalid, "FwBroken",
         "Bad " + kFffd + " caption " + kFffd + Repeat(kFffd, 254 - 15)},
    };
    const auto desktop = fw_test::PaintedDesktop(kScreenWidth, kScreenHeight, kRed);
    int added = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fw_test::XTestWindow window({.X = 300, .Y = 200, .Width = kWindowWidth, .Height = kWindowHeight, .Class = c.cls,
                                     .Caption = c.caption, .Background = kGreen});
        window.Map();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return window.MapState() == XCB_MAP_STATE_VIEWABLE; }, kShownWithin));

        // Add: the window picked in the new capture service's editor, one share, OK.
        QString listed, edited;
        fw_test::ModalDriver modal;
        modal.On<app::TCaptureSettings_Form>([](app::TCaptureSettings_Form& editor) {
            app::TCaptureSourcePage& source = *editor.Setup_ScreenCapture_Frame1->CapturePage;
            ASSERT_TRUE(app::SelectChoice(*source.CaptureSrc_ComboBox, engine::kCapKindWindow));
            emit source.CaptureSrc_ComboBox->activated(source.CaptureSrc_ComboBox->currentIndex());
            fw_test::UserClick(*source.Windows_TB);
        });
        modal.On<app::TWndList_Form>([&](app::TWndList_Form& picker) {
            const QList<QTreeWidgetItem*> rows =
                picker.Wnd_VST->findItems(app::WindowHandleText(window.id()), Qt::MatchExactly, 0);
            ASSERT_EQ(rows.size(), 1) << "the window is not listed";
            listed = rows[0]->text(2);
            picker.Wnd_VST->setCurrentItem(rows[0]);
            fw_test::UserClick(*picker.OK_Btn);
        });
        modal.On<app::TCaptureSettings_Form>([&](app::TCaptureSettings_Form& editor) {
            edited = editor.Setup_ScreenCapture_Frame1->CapturePage->WinCaption_Edit->text();
            fw_test::UserClick(*editor.Setup_ScreenCapture_Frame1->AddPort_BitBtn);
        });
        modal.On<app::TScreenCapture_StreameSet_Form>([&](app::TScreenCapture_StreameSet_Form& share) {
            share.Active_CB->setChecked(true);
            share.WebServerPage->LocalDir_Edit->setText(QString("picked%1").arg(added));
            fw_test::UserClick(*share.OK_BitBtn);
        });
        modal.On<app::TCaptureSettings_Form>([](app::TCaptureSettings_Form& editor) { fw_test::UserClick(*editor.OK_BitBtn); });
        fw_test::UserClick(*fw_test::ChildOf<app::TTop_Frame>(*form)->Buttons()[kAddButton]);
        ASSERT_TRUE(modal.Done());
        ++added;
        EXPECT_EQ(listed.toStdString(), c.storedCaption) << "the picker's Caption cell";
        EXPECT_EQ(edited.toStdString(), c.storedCaption) << "the editor's Caption field";

        const TStoredNames stored = LastStoredNames(dir / "capture.xml");
        EXPECT_EQ(stored.Class, c.storedCls) << "capture.xml";
        EXPECT_EQ(stored.Caption, c.storedCaption) << "capture.xml";

        // The job's search and the filter's, with the names capture.xml holds.
        engine::TScreenCaptureParams params;
        params.capKind = engine::kCapKindWindow;
        params.Window.sClass = stored.Class;
        params.Window.sCaption = stored.Caption;
        engine::CalcCaptureRect(params, nullptr);
        EXPECT_EQ(params.Window.Handle, window.id()) << "the job's window search";
        const ComPtr<IScreenCaptureData> filter = FilterFor(params);
        ASSERT_TRUE(filter) << "no screen-capture filter";
        fw_test::TPictureColours picture;
        EXPECT_TRUE(fw_test::WaitUntil([&] {
            return (picture = fw_test::TakeFilterPicture(*filter.Get())).Green >= size_t(kWindowWidth) * kWindowHeight;
        }, kShownWithin)) << "the filter did not show the window";
        EXPECT_EQ(picture.Red, 0u) << "the filter showed the desktop";
    }
}

}  // namespace
