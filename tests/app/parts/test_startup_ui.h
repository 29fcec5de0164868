// The program block's windows (TQtStartupUi) over the main window with the real windows plugged in,
// made as Framewick's main makes them; message boxes are answered by a fake, and a test fails where
// the program would end. made runs once the main window is made, before the start asks the tray icon
// whether to show it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <memory>

#include "app/mainform/MainForm.h"
#include "app/mainform/QtStartupUi.h"
#include "app/parts/MainWindowParts.h"
#include "tests/app/parts/main_window_parts_support.h"

namespace fw_test {

class TTestStartupUi {
public:
    explicit TTestStartupUi(std::function<void(app::TLumora_MainForm&)> made = {})
        : made_(std::move(made)),
          ui_(*static_cast<QApplication*>(QCoreApplication::instance()), [this] { return MakeMainForm(); },
              [this] { return windows_.ShowMainFormAtStart(); }) {}

    app::TQtStartupUi& Ui() { return ui_; }
    app::TMainWindowParts& Windows() { return windows_; }

private:
    std::unique_ptr<app::TLumora_MainForm> MakeMainForm() {
        auto form = MakeMainWindow(windows_);
        if (made_) made_(*form);
        return form;
    }

    std::function<void(app::TLumora_MainForm&)> made_;
    app::TMainWindowParts windows_;  // outlives the main window, which the startup windows hold
    app::TQtStartupUi ui_;
};

}  // namespace fw_test
