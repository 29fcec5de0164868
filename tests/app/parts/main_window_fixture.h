// The main window with the real windows plugged in (TMainWindowParts), offscreen, started over a data
// folder of main_form_fixture.h. By default one web server and two folder capture services ("First
// job" sharing "cam", "Second job" sharing "cam2"); a test fixture may write other lists.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "app/mainform/MainForm.h"
#include "app/parts/MainWindowParts.h"
#include "app/windows/capture_panel/CaptureFrame.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/app/parts/main_window_parts_support.h"
#include "tests/components/widget_test_app.h"  // the program's QApplication
#include "tests/support/test_env.h"

namespace fw_test {

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
        WriteLists();
        app::TLumora_MainForm::TOptions options;
        options.Parts = windows.Parts();
        options.Dialogs = dialogs;
        options.EndProcess = [this](int code) { exitCodes.push_back(code); };
        form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        windows.Attach(*form);
        ASSERT_TRUE(form->FormCreate());
        form->show();
        ASSERT_TRUE(PumpUntil([&] { return form->StartUpDone(); }, std::chrono::seconds(10))) << "the one-shot never ran";
    }

    void TearDown() override {
        if (form) form->close();
    }

    // httpserv.xml and capture.xml in dir, before the main window reads them.
    virtual void WriteLists() {
        WriteHttpServerList(dir / "httpserv.xml", FreeTcpPort(), dir / "www");
        WriteFolderCaptureList(dir / "capture.xml", {{"First job", dir / "drop", "cam"}, {"Second job", dir / "drop", "cam2"}});
    }

    // Two web servers on free ports of their own, with the roots www and www2 in dir.
    void WriteTwoHttpServers() {
        firstPort = FreeTcpPort();
        do secondPort = FreeTcpPort();
        while (secondPort == firstPort);
        WriteHttpServerList(dir / "httpserv.xml", {{firstPort, dir / "www"}, {secondPort, dir / "www2"}});
    }

    app::TCapture_Frame* PanelOf(const app::TCaptureListEntry& entry) const {
        return dynamic_cast<app::TCapture_Frame*>(form->findChild<QWidget*>(QString("CaptureFrame_%1").arg(entry.Idx)));
    }

    TempDir dir;
    std::shared_ptr<TFakeMainFormDialogs> dialogs = std::make_shared<TFakeMainFormDialogs>();
    std::vector<int> exitCodes;
    app::TMainWindowParts windows;  // outlives the form
    std::unique_ptr<app::TLumora_MainForm> form;
    int firstPort = 0;   // set by WriteTwoHttpServers
    int secondPort = 0;
};

}  // namespace fw_test
