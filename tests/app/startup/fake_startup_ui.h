// A start-up user interface for tests: a chosen screen resolution and dialog answer, every call
// recorded by name.
#pragma once

#include <string>
#include <vector>

#include "app/startup/StartupUi.h"

class TFakeStartupUi : public app::IStartupUi {
public:
    int dpi = 96;
    int dialogAnswer = app::kDialogFirstButton;
    bool tickCheckBox = false;
    int exitCode = 0;
    std::vector<std::string> calls;
    std::vector<app::TCheckDialogRequest> dialogs;

    int ScreenLogicalDpi() override { return dpi; }
    int ShowCheckDialog(const app::TCheckDialogRequest& request, bool& checked) override {
        calls.push_back("dialog");
        dialogs.push_back(request);
        if (tickCheckBox) checked = true;
        return dialogAnswer;
    }
    void ShowSplash() override { calls.push_back("splash"); }
    void SetApplicationTitle(const std::string& title) override { calls.push_back("title " + title); }
    void CreateForms() override { calls.push_back("forms"); }
    void ShowMainWindow() override { calls.push_back("show main window"); }
    int RunMessageLoop() override {
        calls.push_back("loop");
        return exitCode;
    }
};
