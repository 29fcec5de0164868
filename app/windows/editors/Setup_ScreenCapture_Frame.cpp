#include "app/windows/editors/Setup_ScreenCapture_Frame.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <utility>

#include "app/lists/http_server_entry.h"
#include "app/windows/base/AmpelImages.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/ShareTabCaptions.h"
#include "app/windows/editors/CaptureAudioPage.h"
#include "app/windows/editors/CaptureSourcePage.h"
#include "app/windows/editors/ImageSnapshotPage.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/TimeDisplayPage.h"
#include "app/windows/editors/VideoSettingsPage.h"
#include "common/MsgDlgWrappers.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/http/capture_http_server.h"
#include "engine/settings/program_state.h"
#include "engine/util/ip_address.h"
#include "engine/util/path_utils.h"

namespace app {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString DottedText(int32_t address) { return Q(engine::DottedAddress(address)); }

}  // namespace

TSetup_ScreenCapture_Frame::TSetup_ScreenCapture_Frame(TCaptureEditorContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)) {
    auto* layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    CapturePage = new TCaptureSourcePage(context_, this);
    VideoPage = new TVideoSettingsPage(this);
    ImagePage = new TImageSnapshotPage(this);
    TimePage = new TTimeDisplayPage(this);
    AudioPage = new TCaptureAudioPage(context_.WebSocketList, this);
    PageControl->addTab(CapturePage, QStringLiteral("Capture"));
    PageControl->addTab(VideoPage, QStringLiteral("Video Settings"));
    PageControl->addTab(ImagePage, QStringLiteral("Image Snapshot"));
    PageControl->addTab(TimePage, QStringLiteral("Time Display"));
    PageControl->addTab(AudioPage, QStringLiteral("Audio"));
    layout->addWidget(PageControl);
    layout->addWidget(BuildSharePanel());
    connect(CapturePage->Encoder_ComboBox, &QComboBox::activated, this, &TSetup_ScreenCapture_Frame::ApplyMethod);
    connect(CapturePage->CaptureSrc_ComboBox, &QComboBox::activated, this,
            &TSetup_ScreenCapture_Frame::ShowSourceGroup);
    connect(CapturePage->SpeedButton1, &QToolButton::clicked, this, &TSetup_ScreenCapture_Frame::SpeedButton1Click);
}

QWidget* TSetup_ScreenCapture_Frame::BuildSharePanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QHBoxLayout(panel);
    Streamer_VST = new QTreeWidget(panel);
    Streamer_VST->setObjectName(QStringLiteral("Streamer_VST"));
    Streamer_VST->setRootIsDecorated(false);
    Streamer_VST->setHeaderLabels({QStringLiteral("Act"), QStringLiteral("FTP"), QStringLiteral("Protocol"),
                                   QStringLiteral("Destination")});
    Streamer_VST->setStyleSheet(
        QStringLiteral("QTreeWidget { font-family: Verdana; font-size: 8pt; color: #000080; }"
                       " QTreeWidget::item:selected { color: white; }"));
    Streamer_VST->setColumnWidth(kShareColActive, kShareStateColumnWidthPx);
    Streamer_VST->setColumnWidth(kShareColFtp, kShareStateColumnWidthPx);
    layout->addWidget(Streamer_VST, 1);
    auto* buttons = new QVBoxLayout();
    AddPort_BitBtn = MakeToolButton(panel, "AddPort_BitBtn", QStringLiteral("+"), QStringLiteral("Add Share"));
    EditPort_BitBtn = MakeToolButton(panel, "EditPort_BitBtn", QStringLiteral("..."), QStringLiteral("Edit Share"));
    DelPort_BitBtn = MakeToolButton(panel, "DelPort_BitBtn", QStringLiteral("-"), QStringLiteral("Delete Share"));
    for (QToolButton* button : {AddPort_BitBtn, EditPort_BitBtn, DelPort_BitBtn}) buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(AddPort_BitBtn, &QToolButton::clicked, this, &TSetup_ScreenCapture_Frame::AddPort_BitBtnClick);
    connect(EditPort_BitBtn, &QToolButton::clicked, this, &TSetup_ScreenCapture_Frame::EditPort_BitBtnClick);
    connect(DelPort_BitBtn, &QToolButton::clicked, this, &TSetup_ScreenCapture_Frame::DelPort_BitBtnClick);
    connect(Streamer_VST, &QTreeWidget::itemDoubleClicked, this, &TSetup_ScreenCapture_Frame::EditPort_BitBtnClick);
    return panel;
}

TCaptureJobView TSetup_ScreenCapture_Frame::Job() const {
    if (!entry_) return {};
    return context_.JobOf ? context_.JobOf(*entry_) : TCaptureJobView{};
}

std::optional<uint8_t> TSetup_ScreenCapture_Frame::JobKind() const {
    const TCaptureJobView job = Job();
    return job ? std::optional<uint8_t>(job.Params->capKind) : std::nullopt;
}

// Without libVLC there is no video: its tab, its group and the mouse capture go.
void TSetup_ScreenCapture_Frame::ShowVlcParts() {
    const int videoTab = PageControl->indexOf(VideoPage);
    PageControl->setCurrentIndex(videoTab);
    PageControl->setTabVisible(videoTab, !engine::VlcMissing);
    VideoPage->Video_GB->setVisible(!engine::VlcMissing);
    CapturePage->MouseCapture_CB->setVisible(!engine::VlcMissing);
    if (engine::VlcMissing) PageControl->setCurrentWidget(ImagePage);
}

void TSetup_ScreenCapture_Frame::InitEditor(TCaptureListEntry* entry) {
    ShowVlcParts();
    entry_ = entry;
    const TCaptureJobView job = Job();
    CapturePage->InitNew(context_.CaptureList ? context_.CaptureList->Count() : 0, job.InternalPort);
    ApplyMethod();
    VideoPage->InitNew();
    ShowSourceGroup();
    ShowShares(job);
    ImagePage->InitNew();
    TimePage->InitNew();
    AudioPage->InitNew();
}

void TSetup_ScreenCapture_Frame::ApplyMethod() {
    const std::optional<int> method = CapturePage->ApplyMethod();
    if (!method) return;
    VideoPage->ApplyMethod(*method);
    if (*method == engine::kCapEncoderSystem)
        if (const TCaptureJobView job = Job()) job.Params->capKind = engine::kCapKindFiles;
    ShowSourceGroup();
}

void TSetup_ScreenCapture_Frame::ShowSourceGroup() {
    CapturePage->ShowSourceGroup();
    VideoPage->SetMuxEditable(!CapturePage->IsUdpInput());
}

void TSetup_ScreenCapture_Frame::LoadCapture(int32_t captureIdx) {
    if (!context_.CaptureList) return;
    TCaptureListEntry* entry = nullptr;
    for (const auto& item : context_.CaptureList->Items())
        if (item->Idx == captureIdx) entry = item.get();
    if (!entry) return;
    InitEditor(entry);
    const TCaptureJobView job = Job();
    if (!job) return;
    const engine::TScreenCaptureParams& p = *job.Params;
    CapturePage->SelectMethod(p.capEncoder);
    ApplyMethod();
    CapturePage->LoadFrom(p, job.InternalPort);
    ShowSourceGroup();
    VideoPage->LoadFrom(p);
    ImagePage->LoadFrom(p);
    TimePage->LoadFrom(p);
    ShowShares(job);
    AudioPage->LoadFrom(*entry);
}

void TSetup_ScreenCapture_Frame::StoreCapture(TCaptureListEntry* entry) {
    if (!entry) return;
    const TCaptureJobView job = context_.JobOf ? context_.JobOf(*entry) : TCaptureJobView{};
    if (!job) return;
    engine::TScreenCaptureParams& p = *job.Params;
    CapturePage->StoreTo(p, job.InternalPort);
    VideoPage->StoreTo(p);
    ImagePage->StoreTo(p);
    TimePage->StoreTo(p);
    AudioPage->StoreTo(*entry);
}

bool TSetup_ScreenCapture_Frame::HasShares() const {
    const TCaptureJobView job = Job();
    return job && job.Streamers->Count() > 0;
}

void TSetup_ScreenCapture_Frame::ShowShares(const TCaptureJobView& job) {
    DeleteShareRows(0, true);
    if (job)
        for (const engine::PCaptureStreamer& share : job.Streamers->Items()) AddShareRow(share);
}

void TSetup_ScreenCapture_Frame::AddShareRow(const engine::PCaptureStreamer& share) {
    rows_.push_back(share);
    new QTreeWidgetItem(Streamer_VST);
    RefreshShareRows();
}

void TSetup_ScreenCapture_Frame::DeleteShareRows(int row, bool all) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    const int end = all ? static_cast<int>(rows_.size()) : row + 1;
    for (int i = end - 1; i >= row; --i) delete Streamer_VST->takeTopLevelItem(i);
    rows_.erase(rows_.begin() + row, rows_.begin() + end);
}

void TSetup_ScreenCapture_Frame::RefreshShareRows() {
    for (size_t i = 0; i < rows_.size(); ++i) {
        QTreeWidgetItem* item = Streamer_VST->topLevelItem(static_cast<int>(i));
        const engine::TCaptureStreamer& share = *rows_[i];
        item->setIcon(kShareColActive, AmpelImage(share.Active ? kAmpelTick : kAmpelBar));
        item->setIcon(kShareColFtp, AmpelImage(share.FtpActive ? kAmpelTick : kAmpelBar));
        QString protocol;
        QString destination;
        if (share.Protocol == engine::kShareProtocolHttp) {
            protocol = QStringLiteral("HTTP");
            if (share.HttpServer) {
                const auto* entry = dynamic_cast<const THttpServerEntry*>(share.HttpServer.get());
                const std::string name = entry && entry->Server ? entry->Server->Name() : std::string();
                destination = DottedText(share.HttpServer->IpAddr()) + QStringLiteral(":") +
                              QString::number(share.HttpServer->Port()) + QStringLiteral(" [") + Q(name) +
                              QStringLiteral("]");
            }
        } else if (share.Protocol == engine::kShareProtocolUdp) {
            protocol = QStringLiteral("UDP");
            destination = DottedText(share.IpAddr) + QStringLiteral(":") + QString::number(share.Port);
        }
        item->setText(kShareColProtocol, protocol);
        item->setText(kShareColDestination, destination);
    }
}

engine::PCaptureStreamer TSetup_ScreenCapture_Frame::FocusedShare() const {
    const int row = Streamer_VST->indexOfTopLevelItem(Streamer_VST->currentItem());
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(row)] : nullptr;
}

void TSetup_ScreenCapture_Frame::AddPort_BitBtnClick() {
    const TCaptureJobView job = Job();
    if (!job || !context_.ShareEditor) return;
    const engine::PCaptureStreamer share = job.Streamers->AddStreamer();
    AddShareRow(share);
    context_.ShareEditor->LoadShare(share, JobKind());
    if (RunModal(*context_.ShareEditor) == kModalOk) {
        context_.ShareEditor->StoreShare(*share);
    } else {
        const int row = static_cast<int>(std::find(rows_.begin(), rows_.end(), share) - rows_.begin());
        job.Streamers->DeleteStreamer(share.get());
        DeleteShareRows(row, false);
    }
    RefreshShareRows();
}

void TSetup_ScreenCapture_Frame::EditPort_BitBtnClick() {
    const engine::PCaptureStreamer share = FocusedShare();
    if (!share || !context_.ShareEditor) return;
    context_.ShareEditor->LoadShare(share, JobKind());
    if (RunModal(*context_.ShareEditor) == kModalOk) {
        context_.ShareEditor->StoreShare(*share);
        QString caption;
        if (context_.ShareTabs && context_.ShareTabs->TabCaption(*share, caption))
            context_.ShareTabs->SetTabCaption(*share, EditedShareTabCaption(caption, share->Protocol));
    } else if (share->Active) {
        share->Active = context_.ShareEditor->Active_CB->isChecked();
    }
    RefreshShareRows();
}

void TSetup_ScreenCapture_Frame::DelPort_BitBtnClick() {
    const engine::PCaptureStreamer share = FocusedShare();
    const TCaptureJobView job = Job();
    if (!share || !job) return;
    if (ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                   QStringLiteral("The selected Share will be deleted! Are you sure?"), 1, QString(),
                   QStringLiteral("Cancel"), QStringLiteral("Yes")) != kMsgDlgButton1)
        return;
    const int row = static_cast<int>(std::find(rows_.begin(), rows_.end(), share) - rows_.begin());
    job.Streamers->DeleteStreamer(share.get());
    if (context_.ShareTabs) context_.ShareTabs->FreeTab(*share);
    DeleteShareRows(row, false);
    if (context_.ShareTabs) {
        const auto& shares = job.Streamers->Items();
        for (size_t i = 0; i < shares.size(); ++i) {
            QString caption;
            if (context_.ShareTabs->TabCaption(*shares[i], caption))
                context_.ShareTabs->SetTabCaption(*shares[i], RenumberedShareTabCaption(caption, static_cast<int>(i)));
        }
    }
    RefreshShareRows();
}

void TSetup_ScreenCapture_Frame::SpeedButton1Click() {
    const TCaptureJobView job = Job();
    if (!job || !context_.FileChooser) return;
    std::string& dir = job.Params->Files.capFilesDir;
    std::string chosen = dir;
    if (engine::BrowseForFolder("Select File-Source Directory", "", chosen, *context_.FileChooser)) {
        dir = chosen;
        CapturePage->ShowFilesDir(dir);
    }
    if (!dir.empty()) dir = engine::IncludeTrailingPathDelimiter(dir);
}

}  // namespace app
