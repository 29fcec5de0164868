// A capture panel showing the capture service of a job with fake libVLC, capture graph and FTP mirror
// on a fake display, and the main window's hooks recorded.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/capture_service/CaptureService.h"
#include "app/lists/capture_list_entry.h"
#include "app/windows/capture_panel/CaptureFrame.h"
#include "app/windows/capture_panel/ShareStatusTab.h"
#include "components/LedLabel.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/capture/workers/WorkerThread.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"
#include "platform/display/fake_display.h"
#include "tests/components/widget_test_app.h"
#include "tests/engine/capture/job/screen_capture_fakes.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/support/event_pump.h"

namespace fw_test {

inline void PumpEvents() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class CapturePanelTest : public ::testing::Test {
protected:
    static constexpr int32_t kCaptureIdx = 3;

    void SetUp() override {
        display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
        platform::SetCurrentDisplay(display);
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.ArchiveDir = (dir.path() / "archive").string() + "/";
            s.SegLen = 2;
            s.FtpErrThr = 3;
        });
        server = std::make_shared<FakeHttpServer>(engine::kLoopbackAddress, 8080, (dir.path() / "web").string() + "/");
        entry.Idx = kCaptureIdx;
        entry.Name = "Front door";
        hooks.StartStopHttpServers = [this](bool start) { calls.push_back(start ? "http.start" : "http.stop"); };
        hooks.SaveCaptureList = [this] { calls.push_back("save"); };
        hooks.AdjustHeight = [this] { calls.push_back("adjust"); };
    }
    void TearDown() override {
        panel.reset();
        service.reset();
        entry.Capture.reset();
        job.reset();
        WaitUntil([] { return engine::TWorkerThread::RunningCount() == 0; }, std::chrono::seconds(10));
        platform::SetCurrentDisplay(nullptr);
        engine::LogList()->TakeAll();
    }

    std::shared_ptr<engine::TScreenCapture> MakeJob(uint8_t method, uint8_t kind) {
        engine::TScreenCaptureServices s;
        s.Vlc = vlc;
        s.MakeGraph = graphs.Factory();
        s.MakeFtpMirror = [this](const engine::TFtpUpdateSettings& settings) -> std::unique_ptr<engine::IShareWorker> {
            return std::make_unique<FakeMirror>(events, settings);
        };
        s.LogList = std::make_shared<engine::TLogList>();
        s.ShareDefaults = TestShareDefaults(kCaptureIdx, (dir.path() / "html").string());
        auto made = engine::TScreenCapture::Create(kCaptureIdx, s);
        made->Params.capEncoder = engine::kCapEncoderSystem;  // no libVLC to check here
        EXPECT_TRUE(made->Prepare(kCaptureIdx));
        made->Params.capEncoder = method;
        made->Params.capKind = kind;
        made->Params.iLeft = 32;
        made->Params.iTop = 16;
        made->Params.iWidth = 320;
        made->Params.iHeight = 240;
        if (method == engine::kCapEncoderSystem) {
            made->Params.Files.capFilesDir = (dir.path() / "drop").string() + "/";
            made->Params.Files.capiFileFmt = 3;
        }
        return made;
    }
    engine::PCaptureStreamer AddShare(engine::TScreenCapture& to, bool http) {
        auto share = std::make_shared<engine::TCaptureStreamer>();
        to.Streamers->InitStreamer(*share, http);
        if (http) {
            share->HttpServer = server;
            share->SubDir = "pc" + std::to_string(to.Streamers->Count() + 1);
            share->VideoActive = false;
            share->FileActive = true;
        } else {
            share->Port = 41234;
        }
        to.Streamers->Append(share);
        return share;
    }
    // A folder job with an HTTP share and a UDP share, its panel filled.
    void MakeFolderPanel() {
        job = MakeJob(engine::kCapEncoderSystem, engine::kCapKindFiles);
        httpShare = AddShare(*job, true);
        udpShare = AddShare(*job, false);
        MakePanel();
    }
    void MakePanel() {
        entry.Capture = job;
        service = std::make_shared<app::TCaptureService>(entry, app::TCaptureServiceHooks{});
        panel = std::make_unique<app::TCapture_Frame>(hooks);
        panel->resize(542, panel->height());
        panel->SetService(service);
        panel->InitPanel();
        calls.clear();
    }
    std::string Caption(components::TBevelLabel* label) const { return label->Caption().toStdString(); }
    bool RunningLampOn() const { return panel->Controls().On_Led->LedOn(); }

    TempDir dir;
    std::shared_ptr<platform::TFakeDisplay> display = std::make_shared<platform::TFakeDisplay>();
    std::shared_ptr<EventLog> events = std::make_shared<EventLog>();
    std::shared_ptr<FakeVlcApi> vlc = std::make_shared<FakeVlcApi>(events);
    FakeGraphFactory graphs = FakeGraphFactory::With(events);
    std::shared_ptr<FakeHttpServer> server;
    app::TCaptureListEntry entry;
    app::TCapturePanelHooks hooks;
    std::vector<std::string> calls;
    std::shared_ptr<engine::TScreenCapture> job;
    std::shared_ptr<app::TCaptureService> service;
    engine::PCaptureStreamer httpShare, udpShare;
    std::unique_ptr<app::TCapture_Frame> panel;
};

}  // namespace fw_test
