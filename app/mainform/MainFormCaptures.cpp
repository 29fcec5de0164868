// The main window's side of the capture services (TCaptureServices keeps them): each service's job,
// its TCaptureService and its panel made, a new service through the editor, freeing, start and stop of
// everything (web servers first), and capture.xml saved from the jobs.
#include "app/mainform/MainForm.h"

#include "app/lists/capture_list_file.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/vlc_registry_preferences.h"
#include "engine/capture/settings/ShareDefaultsFromSettings.h"
#include "engine/settings/counters.h"
#include "engine/settings/program_state.h"

namespace app {

std::shared_ptr<engine::TScreenCapture> TLumora_MainForm::CreateCapture(int32_t idx) {
    engine::TScreenCaptureServices services = engine::DefaultScreenCaptureServices(idx, WindowHandle(), errorBox_);
    services.VlcPreferences = RegistryVlcPreferences();
    std::shared_ptr<engine::TScreenCapture> capture = engine::TScreenCapture::Create(idx, std::move(services));
    capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    capture->OnRestart = [this](engine::TScreenCapture& sender) { HandleCaptureRestart(sender); };
    capture->OnLog = [this](engine::TScreenCapture&, const std::string& text, uint8_t level) {
        HandleCaptureLog(text, level);
    };
    return capture;
}

std::unique_ptr<TCaptureListEntry> TLumora_MainForm::InitCaptureEntry() {
    std::unique_ptr<TCaptureListEntry> entry = NewCaptureEntry(*this);
    MakeServiceAndPanel(*entry);
    return entry;
}

void TLumora_MainForm::MakeServiceAndPanel(TCaptureListEntry& entry) {
    std::shared_ptr<TCaptureService> service = captures_->MakeService(entry);
    if (!options_.Parts.MakeCapturePanel) return;
    std::unique_ptr<ICapturePanel> panel = options_.Parts.MakeCapturePanel(*this, std::move(service));
    if (!panel) return;
    QWidget* widget = panel->Widget();
    widget->setObjectName(QString("CaptureFrame_%1").arg(entry.Idx));
    panelLayout_->insertWidget(panelLayout_->count() - 1, widget);  // last, above the stretch
    captures_->SetPanel(entry, std::move(panel));
}

void TLumora_MainForm::ShowLoadedCapture(TCaptureListEntry& entry) {
    // The block does not keep the library folder: a loaded job uses the program's.
    if (entry.Capture->Params.capVlcLibPath.empty()) entry.Capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    MakeServiceAndPanel(entry);
    entry.Capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = captures_->PanelOf(entry)) panel->InitPanel();
}

bool TLumora_MainForm::AddCapture() {
    TCaptureListEntry& entry = captures_->Append(InitCaptureEntry());
    const bool ok = options_.Parts.EditNewCapture && options_.Parts.EditNewCapture(entry, *entry.Capture);
    if (!ok) {
        FreeCaptureEntry(entry);
        return false;
    }
    NewCaptureEdited(entry);
    return true;
}

void TLumora_MainForm::NewCaptureEdited(TCaptureListEntry& entry) {
    if (!entry.Capture) return;
    CallIfSet(options_.Parts.ShowWaitForm);
    entry.Capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = captures_->PanelOf(entry)) panel->InitPanel();
    CallIfSet(options_.Parts.CloseWaitForm);
    archiveHandOver_.SetCaptureIndices(captures_->Indices());
}

void TLumora_MainForm::FreeCaptureEntry(TCaptureListEntry& entry) {
    captures_->Free(entry);
    archiveHandOver_.SetCaptureIndices(captures_->Indices());
}

void TLumora_MainForm::StartStopAll(bool start) {
    if (captures_->List().Count() == 0) return;
    webServers_.StartStop(start);
    captures_->StartStopAll(start);
}

bool TLumora_MainForm::SaveCaptureList() {
    // Only this thread changes the lists and the jobs' settings: the file is written without GlobalLock,
    // which would hold up the snapshot writers and the web servers meanwhile.
    return app::SaveCaptureList(ListDocPool(), AppPaths()->CaptureListFile, captures_->List());
}
}  // namespace app
