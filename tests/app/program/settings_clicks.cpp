#include "tests/app/program/settings_clicks.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QWindow>
#include <cstdlib>

#include "app/mainform/MainForm.h"
#include "app/parts/MainWindowParts.h"
#include "app/windows/settings_dialog/GeneralSettingsPage.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/toolbar/TopFrame.h"
#include "common/MsgDlgWrappers.h"
#include "components/CanvasPanelEx.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/app/parts/main_window_parts_support.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/private_desktop.h"
#include "tests/support/event_pump.h"

namespace fw_test {
namespace {

constexpr std::chrono::seconds kStartUpWithin{20};
constexpr size_t kConfigurationButton = 5;  // Start, Stop, Add, Log, Min, Configuration, ...

bool Exposed(QWidget& window) { return window.windowHandle() && window.windowHandle()->isExposed(); }

QPoint CentreIn(QWidget& window, QWidget& widget) { return widget.mapTo(&window, widget.rect().center()); }

}  // namespace

TSettingsPlaces OwnSettingsPlaces(const std::filesystem::path& scratch) {
    TSettingsPlaces places;
    PrepareMainFormFolder(scratch, FW_BIN_DIR);
    WriteFolderCaptureList(scratch / "capture.xml", "Folder job", scratch / "drop", "cam");
    app::TMainWindowParts windows;
    std::unique_ptr<app::TLumora_MainForm> form = MakeMainWindow(windows);
    EXPECT_TRUE(form->FormCreate());
    form->show();
    EXPECT_TRUE(PumpUntil([&] { return form->StartUpDone(); }, kStartUpWithin)) << "the own main window never started";
    components::TCanvasPanelEx& configuration = *ChildOf<app::TTop_Frame>(*form)->Buttons()[kConfigurationButton];
    places.ConfigurationButton = CentreIn(*form, configuration);

    ModalDriver modal;
    modal.On<app::TSettings_Form>(
        [&](app::TSettings_Form& settings) {
            places.Settings = settings.size();
            const QCheckBox& box = *settings.TabSheet_General->Screensaver_CB;
            places.KeepAwakeBox = box.mapTo(&settings, QPoint(6, box.height() / 2));  // the box, not its text
            places.DownloadButton = CentreIn(settings, *settings.TabSheet_General->BitBtn1);
            places.OkButton = CentreIn(settings, *settings.OK_BitBtn);
            UserClick(*settings.Cancel_BitBtn);
        },
        [](app::TSettings_Form& settings) { return Exposed(settings); });
    UserClick(configuration);  // as the program itself opens it: on its first page
    EXPECT_TRUE(modal.Done());

    // The download's question as the settings dialog asks it.
    modal.On<QDialog>(
        [&](QDialog& question) {
            places.DownloadQuestion = question.size();
            for (QPushButton* button : question.findChildren<QPushButton*>())
                if (button->text().trimmed() == QStringLiteral("Yes")) places.DownloadQuestionYes = CentreIn(question, *button);
            question.reject();
        },
        [](QDialog& question) { return Exposed(question); });
    app::ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                    QStringLiteral("The application has to be terminated - are you sure?"), 1, QString(),
                    QStringLiteral("No"), QStringLiteral("Yes"));
    EXPECT_TRUE(modal.Done());

    form->close();
    return places;
}

std::optional<xcb_window_t> WindowCalled(const std::string& caption) { return XcbReader().TopLevelCalled(caption); }

std::optional<xcb_window_t> WaitForWindow(ChildProcess& program, const std::string& caption,
                                          std::chrono::milliseconds timeout) {
    std::optional<xcb_window_t> window;
    WaitUntil([&] { return (window = WindowCalled(caption)).has_value() || !program.running(); }, timeout);
    return window;
}

QSize WindowSize(xcb_window_t window) { return XcbReader().ScreenRect(window).size(); }

bool ClickAt(xcb_window_t window, QPoint at) {
    return RunProgram({"xdotool", "mousemove", "--sync", "--window", std::to_string(window), std::to_string(at.x()),
                       std::to_string(at.y()), "click", "1"}) == 0;
}

}  // namespace fw_test
