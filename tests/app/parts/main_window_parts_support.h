// What the tests of the main window with the real windows share, with no application of their own: the
// main window made as the program makes it, and its children by class.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <memory>
#include <vector>

#include "app/mainform/MainForm.h"
#include "app/parts/MainWindowParts.h"
#include "tests/app/mainform/main_form_fixture.h"

namespace fw_test {

// The windows' classes carry no meta-object of their own, so findChildren cannot tell them apart.
template <class T>
std::vector<T*> ChildrenOf(const QObject& parent) {
    std::vector<T*> found;
    for (QObject* child : parent.findChildren<QObject*>())
        if (auto* typed = dynamic_cast<T*>(child)) found.push_back(typed);
    return found;
}

template <class T>
T* ChildOf(const QObject& parent) {
    const std::vector<T*> found = ChildrenOf<T>(parent);
    return found.empty() ? nullptr : found.front();
}

// The main window with windows plugged in, attached as the program does it; its own questions are
// answered by a fake, and an end of the process fails the test.
inline std::unique_ptr<app::TLumora_MainForm> MakeMainWindow(app::TMainWindowParts& windows) {
    app::TLumora_MainForm::TOptions options;
    options.Parts = windows.Parts();
    options.Dialogs = std::make_shared<TFakeMainFormDialogs>();
    options.EndProcess = [](int code) { ADD_FAILURE() << "the process was ended with " << code; };
    auto form = std::make_unique<app::TLumora_MainForm>(std::move(options));
    windows.Attach(*form);
    return form;
}

}  // namespace fw_test
