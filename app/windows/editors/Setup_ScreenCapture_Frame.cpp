#include "app/windows/editors/Setup_ScreenCapture_Frame.h"

#include <QEvent>
#include <QScopedValueRollback>
#include <algorithm>
#include <string>
#include <utility>

#include "app/lists/http_server_entry.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/editors/CaptureEditorPages.h"
#include "app/windows/editors/EditorControls.h"
#include "app/windows/editors/NumberFieldText.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/ShareTabCaptions.h"
#include "app/windows/pickers/WndArea_Form.h"
#include "app/windows/pickers/WndList_Form.h"
#include "app/windows/server_dialogs/AmpelImages.h"
#include "app/windows/server_dialogs/DigitRules.h"
#include "app/windows/server_dialogs/FileChooser.h"
#include "app/windows/server_dialogs/IpAddrPortFrame.h"
#include "app/windows/server_dialogs/PathEllipsis.h"
#include "common/MsgDlgWrappers.h"
#include "engine/capture/settings/CaptureRect.h"
#include "engine/http/capture_http_server.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/monitors.h"
#include "engine/util/number_strings.h"
#include "engine/util/path_utils.h"
#include "engine/util/utf8_text.h"

namespace app {

namespace {

constexpr components::TColor kNewFontColor = 0x0000FFFF;
constexpr components::TColor kNewBackgroundColor = 0x00800000;
constexpr int kNewArea = 100;
constexpr int kNewFileFreqS = 5;
constexpr int kNewImageFreqS = 5;
constexpr int kNewBitrate = 1000;
constexpr int kNewFrameRate = 25;
constexpr int kNewAudioBitrate = 128;
constexpr int kMaxPort = 65535;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

QString DottedText(int32_t address) { return Q(engine::IpAddrToText(static_cast<uint32_t>(address))); }

}  // namespace

components::TColor ColorOf(const QPushButton& picker) { return picker.property("color").toUInt(); }

void SetColorOf(QPushButton& picker, components::TColor color) {
    picker.setProperty("color", color);
    picker.setStyleSheet(QStringLiteral("background: rgb(%1,%2,%3);")
                             .arg(color & 0xFF)
                             .arg((color >> 8) & 0xFF)
                             .arg((color >> 16) & 0xFF));
}

TSetup_ScreenCapture_Frame::TSetup_ScreenCapture_Frame(TCaptureEditorContext context, QWidget* parent)
    : QWidget(parent), context_(std::move(context)) {
    TCaptureEditorPages(*this).Build();
}

TCaptureJobView TSetup_ScreenCapture_Frame::Job() const {
    if (!entry_) return {};
    return context_.JobOf ? context_.JobOf(*entry_) : JobViewOf(*entry_);
}

std::optional<uint8_t> TSetup_ScreenCapture_Frame::JobKind() const {
    const TCaptureJobView job = Job();
    return job ? std::optional<uint8_t>(job.Params->capKind) : std::nullopt;
}

void TSetup_ScreenCapture_Frame::InitEditor(TCaptureListEntry* entry) {
    const int videoTab = PageControl->indexOf(VideoPage);
    PageControl->setCurrentIndex(videoTab);
    PageControl->setTabVisible(videoTab, !engine::VlcMissing);
    Video_GB->setVisible(!engine::VlcMissing);
    MouseCapture_CB->setVisible(!engine::VlcMissing);
    if (engine::VlcMissing) PageControl->setCurrentWidget(ImagePage);

    entry_ = entry;
    const size_t captures = context_.CaptureList ? context_.CaptureList->Count() : 0;
    const QString idx = Q(engine::ZeroPadStr(std::to_string(captures), 2));
    Idx_Edit->setText(idx);
    Name_Edit->setText(QStringLiteral("capture_service_") + idx);
    AutoStart_CB->setChecked(false);

    FillChoices(*Encoder_ComboBox, {{"DirectX", engine::kCapEncoderDirectX}, {"System", engine::kCapEncoderSystem}});
    SelectChoice(*Encoder_ComboBox, engine::kCapEncoderDirectX);
    ApplyMethod();

    DeskNo_ComboBox->clear();
    for (int monitor = 1; monitor <= engine::GetMonitorCount(); ++monitor)
        DeskNo_ComboBox->addItem(QString::number(monitor), monitor);
    DeskNo_ComboBox->setCurrentIndex(DeskNo_ComboBox->count() > 0 ? 0 : -1);

    const TCaptureJobView job = Job();
    SinkPort_Edit->setText(job.InternalPort ? QString::number(*job.InternalPort) : QString());
    PreScaling_CB->setChecked(false);
    MouseCapture_CB->setChecked(false);
    FillChoices(*PixelFormat_ComboBox, {{"1 bit", 0}, {"4 bit", 1}, {"8 bit", 2}, {"15 bit", 3}, {"16 bit", 4},
                                        {"24 bit", 5}, {"32 bit", 6}});
    SelectChoice(*PixelFormat_ComboBox, 6);
    ShowSourceGroup();

    FillChoices(*Deccoder_ComboBox, {{"none", engine::kVidCodecNone}, {"orig", engine::kVidCodecNoOption},
                                     {"H.264", engine::kVidCodecH264}, {"MP4", engine::kVidCodecMp4v},
                                     {"VP8", engine::kVidCodecVp8}, {"H.265", engine::kVidCodecH265}});
    SelectChoice(*Deccoder_ComboBox, engine::kVidCodecH264);
    FillChoices(*AudDecoder_ComboBox, {{"none", engine::kAudCodecNone}, {"orig", 1}, {"MP3", engine::kAudCodecMp3}});
    SelectChoice(*AudDecoder_ComboBox, engine::kAudCodecNone);
    BitRate_SpinEdit->setValue(kNewBitrate);
    Frame_SpinEdit->setValue(kNewFrameRate);
    AudioBitrate_SpinEdit->setValue(kNewAudioBitrate);

    WinClass_Edit->clear();
    WinCaption_Edit->clear();
    Adjust_CB->setChecked(true);
    SetArea(0, 0, kNewArea, kNewArea);

    DeleteShareRows(0, true);
    if (job)
        for (const engine::PCaptureStreamer& share : job.Streamers->Items()) AddShareRow(share);

    EditPort_TB->setChecked(false);
    EditPort_TBClick();

    FillChoices(*Mux_ComboBox, {{"TS", 0}});
    SelectChoice(*Mux_ComboBox, 0);
    VidPid_Edit->setText(QStringLiteral("101"));
    AudPid_Edit->setText(QStringLiteral("102"));
    PmtPid_Edit->setText(QStringLiteral("100"));

    FillChoices(*ImgFormat_ComboBox, {{"PNG", 0}, {"JPG", 1}, {"BMP", 2}});
    SelectChoice(*ImgFormat_ComboBox, 0);
    ImgFreq_SpinEdit->setValue(kNewImageFreqS);

    FillChoices(*Pos_ComboBox, {{"Top-Left", 1}, {"Top-Right", 2}, {"Bottom-Left", 3}, {"Bottom-Right", 4}});
    SelectChoice(*Pos_ComboBox, 1);
    FontName_ComboBox->clear();
    FontName_ComboBox->addItems({QStringLiteral("Arial"), QStringLiteral("Courier New"), QStringLiteral("Verdana"),
                                 QStringLiteral("Tahoma")});
    FontName_ComboBox->setCurrentIndex(0);
    SetColorOf(*Bkgnd_ColorPicker, kNewBackgroundColor);
    SetColorOf(*Font_ColorPicker, kNewFontColor);
    Bold_CB->setChecked(true);

    const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
    PngComp_SpinEdit->setValue(settings->PngComp);
    JpgComp_SpinEdit->setValue(settings->JpgComp);
    Archive_CB->setChecked(false);
    ShowArchiveSettings();

    FillChoices(*FileFmt_ComboBox, {{"PNG", 3}, {"JPG", 1}, {"SVG", 2}, {"BMP", 0}});
    SelectChoice(*FileFmt_ComboBox, 3);
    FileDir_Label->clear();
    FileFreq_SpinEdit->setValue(kNewFileFreqS);
    FileDel_CB->setChecked(true);

    FillWebSocketList();
    WsAct_CB->setChecked(false);
    WsAct_Label->hide();
}

void TSetup_ScreenCapture_Frame::ShowArchiveSettings() {
    const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
    switch (settings->ArchiveLimit) {
        case engine::kArchivePruneBySize:
            Limit_Panel->setText(QString::number(settings->ArchiveSize) + QStringLiteral(" MB"));
            break;
        case engine::kArchivePruneByCount:
            Limit_Panel->setText(QString::number(settings->ArchiveFile) + QStringLiteral(" files"));
            break;
        default:
            Limit_Panel->setText(QStringLiteral("none"));
            break;
    }
    ArchPath_Label->setText(ShortenPathForDisplay(Q(settings->ArchiveDir), ArchPath_Label->fontMetrics(), kArchivePathWidthPx));
}

void TSetup_ScreenCapture_Frame::FillWebSocketList() {
    Ws_ComboBox->clear();
    Ws_ComboBox->addItem(QStringLiteral("none"), -1);
    if (context_.WebSocketList) {
        const auto& sockets = context_.WebSocketList->Items();
        for (size_t i = 0; i < sockets.size(); ++i)
            Ws_ComboBox->addItem(Q(sockets[i]->Name) + QStringLiteral(" [") + DottedText(sockets[i]->Addr) +
                                     QStringLiteral(":") + QString::number(sockets[i]->Port) + QStringLiteral("]"),
                                 static_cast<int>(i));
    }
    Ws_ComboBox->setCurrentIndex(0);
}

void TSetup_ScreenCapture_Frame::ApplyMethod() {
    if (Encoder_ComboBox->currentIndex() < 0) return;
    const int method = ChoiceNumber(*Encoder_ComboBox, -1);
    Port_Panel->hide();
    PreScaling_CB->hide();
    Files_GB->hide();
    if (method == engine::kCapEncoderDirectX) {
        Port_Panel->show();
        PreScaling_CB->show();
    } else if (method == engine::kCapEncoderSystem) {
        Files_GB->show();
        if (const TCaptureJobView job = Job()) job.Params->capKind = engine::kCapKindFiles;
    }
    FillSourceList(method);
    FillScaleList(method);
    ShowSourceGroup();
}

void TSetup_ScreenCapture_Frame::FillSourceList(int method) {
    switch (method) {
        case engine::kCapEncoderDirectX:
            FillChoices(*CaptureSrc_ComboBox, {{"Monitor", engine::kCapKindMonitor}, {"Window", engine::kCapKindWindow},
                                               {"Screen Area", engine::kCapKindArea},
                                               {"All Monitors", engine::kCapKindAllMonitors}});
            break;
        case engine::kCapEncoderVlc:
            FillChoices(*CaptureSrc_ComboBox, {{"TS via UDP", engine::kCapKindUdpStream}});
            break;
        case engine::kCapEncoderSystem:
            FillChoices(*CaptureSrc_ComboBox, {{"Files", engine::kCapKindFiles}});
            break;
        default:
            CaptureSrc_ComboBox->clear();
            break;
    }
    CaptureSrc_ComboBox->setCurrentIndex(CaptureSrc_ComboBox->count() > 0 ? 0 : -1);
}

void TSetup_ScreenCapture_Frame::FillScaleList(int method) {
    Scale_ComboBox->clear();
    if (method == engine::kCapEncoderDirectX) {
        Scale_ComboBox->addItem(QStringLiteral("2.0"), 12);
        Scale_ComboBox->addItem(QStringLiteral("1.5"), 13);
    }
    for (uint8_t scale = 0; scale <= 11; ++scale) Scale_ComboBox->addItem(Q(engine::ScaleIndexToStr(scale)), scale);
    SelectChoice(*Scale_ComboBox, 0);
}

void TSetup_ScreenCapture_Frame::ShowSourceGroup() {
    for (QGroupBox* group : {Area_GB, Window_GB, Udp_GB, Monitor_GB, Files_GB}) group->hide();
    Mux_Panel->setEnabled(true);
    for (QWidget* field : std::initializer_list<QWidget*>{Mux_ComboBox, VidPid_Edit, AudPid_Edit, PmtPid_Edit})
        SetFieldColor(*field, kFieldWhite);
    const int method = ChoiceNumber(*Encoder_ComboBox, -1);
    switch (ChoiceNumber(*CaptureSrc_ComboBox, -1)) {
        case engine::kCapKindMonitor:
            Monitor_GB->setVisible(method == engine::kCapEncoderDirectX);
            break;
        case engine::kCapKindWindow:
            Window_GB->show();
            break;
        case engine::kCapKindArea:
            Area_GB->show();
            break;
        case engine::kCapKindFiles:
            Files_GB->show();
            break;
        case engine::kCapKindUdpStream:
            Udp_GB->show();
            Mux_Panel->setEnabled(false);
            for (QWidget* field : std::initializer_list<QWidget*>{Mux_ComboBox, VidPid_Edit, AudPid_Edit, PmtPid_Edit})
                SetFieldColor(*field, kFieldGrey);
            break;
        default:
            break;
    }
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

    if (!SelectChoice(*Encoder_ComboBox, p.capEncoder) && p.capEncoder == engine::kCapEncoderVlc) {
        // An entry of capture.xml with the libVLC method: offered as it is, so storing keeps it.
        Encoder_ComboBox->addItem(QStringLiteral("VLC"), engine::kCapEncoderVlc);
        SelectChoice(*Encoder_ComboBox, engine::kCapEncoderVlc);
    }
    ApplyMethod();
    SelectChoice(*CaptureSrc_ComboBox, p.capKind);
    ShowSourceGroup();
    SelectChoice(*Deccoder_ComboBox, p.vidCodec);
    SelectChoice(*Scale_ComboBox, p.vidScale);
    BitRate_SpinEdit->setValue(p.vidBitrate);
    Frame_SpinEdit->setValue(p.vidFrameRate);
    SelectChoice(*AudDecoder_ComboBox, p.audCodec);
    AudioBitrate_SpinEdit->setValue(p.audBitrate);
    WinClass_Edit->setText(Q(p.Window.sClass));
    WinCaption_Edit->setText(Q(p.Window.sCaption));
    Adjust_CB->setChecked(p.Window.bAdjust);
    SetArea(p.iLeft, p.iTop, p.iWidth, p.iHeight);
    Udp_IpAddr_Port_Frame1->SetIpText(engine::IpAddrToText(static_cast<uint32_t>(p.capUdpIp)));
    Udp_IpAddr_Port_Frame1->SetPort(p.capUdpPort);
    if (!SelectChoice(*DeskNo_ComboBox, p.capDesktopNo) && DeskNo_ComboBox->count() > 0) DeskNo_ComboBox->setCurrentIndex(0);
    SinkPort_Edit->setText(job.InternalPort ? QString::number(*job.InternalPort) : QString());
    PreScaling_CB->setChecked(p.bPreScale);
    MouseCapture_CB->setChecked(p.bCapMouse);
    SelectChoice(*PixelFormat_ComboBox, p.capPixelFormat);
    VidPid_Edit->setText(QString::number(p.capVidPid));
    AudPid_Edit->setText(QString::number(p.capAudPid));
    PmtPid_Edit->setText(QString::number(p.capPmtPid));
    ImgFreq_SpinEdit->setValue(p.capImageFreq);
    SelectChoice(*ImgFormat_ComboBox, p.capImageFormat);
    PngComp_SpinEdit->setValue(p.capImagePngComp);
    JpgComp_SpinEdit->setValue(p.capImageJpgComp);
    Archive_CB->setChecked(p.capImagebArchive);
    ShowArchiveSettings();
    ImgDispAct_CB->setChecked(p.capTimeDisplaybAct);
    SelectChoice(*Pos_ComboBox, p.capTimeDisplayiPos);
    FontName_ComboBox->setCurrentIndex(FontName_ComboBox->findText(Q(p.capTimeDisplaysFont)));
    FontSize_SpinEdit->setValue(p.capTimeDisplayiSize);
    SetColorOf(*Font_ColorPicker, static_cast<components::TColor>(p.capTimeDisplayiColor));
    Bold_CB->setChecked(p.capTimeDisplaybBold);
    SetColorOf(*Bkgnd_ColorPicker, static_cast<components::TColor>(p.capTimeDisplaysiBkgnd));
    Transparent_CB->setChecked(p.capTimeDisplaysbTransp);
    DeleteShareRows(0, true);
    for (const engine::PCaptureStreamer& share : job.Streamers->Items()) AddShareRow(share);
    FileDir_Label->setText(ShortenPathForDisplay(Q(p.Files.capFilesDir), FileDir_Label->fontMetrics(), kFilesDirWidthPx));
    FileFreq_SpinEdit->setValue(p.Files.capiFreq);
    SelectChoice(*FileFmt_ComboBox, p.Files.capiFileFmt);
    FileDel_CB->setChecked(p.Files.capbDelete);

    Ws_ComboBox->setCurrentIndex(0);
    WsAct_Label->hide();
    if (const std::shared_ptr<TWebSocketEntry> socket = entry->WebSocket.lock(); socket && context_.WebSocketList) {
        const auto& sockets = context_.WebSocketList->Items();
        const auto found = std::find(sockets.begin(), sockets.end(), socket);
        if (found != sockets.end()) {
            Ws_ComboBox->setCurrentIndex(static_cast<int>(found - sockets.begin()) + 1);
            WsAct_Label->setVisible(!socket->Active);
        }
    }
    WsAct_CB->setChecked(entry->WebSocketAct);
}

void TSetup_ScreenCapture_Frame::StoreCapture(TCaptureListEntry* entry) {
    if (!entry) return;
    const TCaptureJobView job = context_.JobOf ? context_.JobOf(*entry) : JobViewOf(*entry);
    if (!job) return;
    engine::TScreenCaptureParams& p = *job.Params;
    p.capEncoder = static_cast<uint8_t>(ChoiceNumber(*Encoder_ComboBox, p.capEncoder));
    p.capKind = static_cast<uint8_t>(ChoiceNumber(*CaptureSrc_ComboBox, p.capKind));
    p.capDesktopNo = ChoiceNumber(*DeskNo_ComboBox, p.capDesktopNo);
    // Only a usable port replaces the one the job has: the sink must be able to listen on it.
    if (const std::optional<int32_t> port = ParseIntegerText(S(SinkPort_Edit->text()));
        port && job.InternalPort && *port > 0 && *port <= kMaxPort)
        *job.InternalPort = *port;
    p.capPixelFormat = static_cast<uint8_t>(ChoiceNumber(*PixelFormat_ComboBox, p.capPixelFormat));
    p.vidCodec = static_cast<uint8_t>(ChoiceNumber(*Deccoder_ComboBox, p.vidCodec));
    p.vidScale = static_cast<uint8_t>(ChoiceNumber(*Scale_ComboBox, p.vidScale));
    p.vidBitrate = BitRate_SpinEdit->value();
    p.vidFrameRate = Frame_SpinEdit->value();
    p.audCodec = static_cast<uint8_t>(ChoiceNumber(*AudDecoder_ComboBox, p.audCodec));
    p.audBitrate = AudioBitrate_SpinEdit->value();
    p.bPreScale = PreScaling_CB->isChecked();
    p.bCapMouse = MouseCapture_CB->isChecked();
    p.Window.sClass = S(WinClass_Edit->text());
    p.Window.sCaption = S(WinCaption_Edit->text());
    p.Window.bAdjust = Adjust_CB->isChecked();
    p.iLeft = ReadNumberField(S(Left_Edit->text()));
    p.iTop = ReadNumberField(S(Top_Edit->text()));
    p.iWidth = ReadNumberField(S(Width_Edit->text()));
    p.iHeight = ReadNumberField(S(Height_Edit->text()));
    p.capUdpIp = DottedTextToIpAddr(Udp_IpAddr_Port_Frame1->GetIpText());
    p.capUdpPort = Udp_IpAddr_Port_Frame1->GetPort();
    p.capVidPid = ReadNumberField(S(VidPid_Edit->text()));
    p.capAudPid = ReadNumberField(S(AudPid_Edit->text()));
    p.capPmtPid = ReadNumberField(S(PmtPid_Edit->text()));
    p.capImageFreq = ImgFreq_SpinEdit->value();
    p.capImageFormat = static_cast<uint8_t>(ChoiceNumber(*ImgFormat_ComboBox, p.capImageFormat));
    p.capImagePngComp = PngComp_SpinEdit->value();
    p.capImageJpgComp = JpgComp_SpinEdit->value();
    p.capImagebArchive = Archive_CB->isChecked();
    p.capTimeDisplaybAct = ImgDispAct_CB->isChecked();
    p.capTimeDisplayiPos = static_cast<uint8_t>(ChoiceNumber(*Pos_ComboBox, p.capTimeDisplayiPos));
    p.capTimeDisplaysFont = engine::Utf8Left(S(FontName_ComboBox->currentText()), engine::kMaxTimeDisplayFontLength);
    p.capTimeDisplayiSize = FontSize_SpinEdit->value();
    p.capTimeDisplayiColor = static_cast<int32_t>(ColorOf(*Font_ColorPicker));
    p.capTimeDisplaybBold = Bold_CB->isChecked();
    p.capTimeDisplaysiBkgnd = static_cast<int32_t>(ColorOf(*Bkgnd_ColorPicker));
    p.capTimeDisplaysbTransp = Transparent_CB->isChecked();
    p.Files.capiFreq = FileFreq_SpinEdit->value();
    p.Files.capiFileFmt = static_cast<uint8_t>(ChoiceNumber(*FileFmt_ComboBox, p.Files.capiFileFmt));
    p.Files.capbDelete = FileDel_CB->isChecked();
    if (p.capKind == engine::kCapKindWindow) {
        p.Window.Handle = platform::kNoWindow;
        engine::UpdateWindowRect(p.Window);
    }
    const int socket = ChoiceNumber(*Ws_ComboBox, -1);
    entry->WebSocket.reset();
    if (context_.WebSocketList && socket >= 0 && socket < static_cast<int>(context_.WebSocketList->Count()))
        entry->WebSocket = context_.WebSocketList->Items()[static_cast<size_t>(socket)];
    entry->WebSocketAct = WsAct_CB->isChecked();
}

bool TSetup_ScreenCapture_Frame::HasShares() const {
    const TCaptureJobView job = Job();
    return job && job.Streamers->Count() > 0;
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

void TSetup_ScreenCapture_Frame::EditPort_TBClick() {
    const bool down = EditPort_TB->isChecked();
    SinkPort_Edit->setEnabled(down);
    SetFieldColor(*SinkPort_Edit, down ? kFieldWhite : kFieldGrey);
}

void TSetup_ScreenCapture_Frame::Windows_TBClick() {
    if (!context_.WndList || pickerOpen_) return;  // a second click while the picker is up
    int result = kModalCancel;
    {
        const QScopedValueRollback open(pickerOpen_, true);
        result = RunModal(*context_.WndList);
    }
    if (result != kModalOk) return;
    std::string className;
    std::string caption;
    context_.WndList->GetSelected(className, caption);
    WinClass_Edit->setText(Q(className));
    WinCaption_Edit->setText(Q(caption));
}

void TSetup_ScreenCapture_Frame::WndArea_TBClick() {
    if (!context_.WndArea || pickerOpen_) return;  // a second click while the picker is up
    // No area to start from: the picker does not open, and the program says why.
    const std::pair<QLineEdit*, const char*> fields[] = {
        {Left_Edit, "Left"}, {Top_Edit, "Top"}, {Width_Edit, "Width"}, {Height_Edit, "Height"}};
    for (const auto& [field, caption] : fields)
        if (field->text().isEmpty()) {
            if (context_.ReportError)
                context_.ReportError(std::string("'' is not a valid integer value (screen area field ") + caption + ")");
            return;
        }
    const QScopedValueRollback open(pickerOpen_, true);
    TWndArea_Form& picker = *context_.WndArea;
    picker.StartLeft = ReadNumberField(S(Left_Edit->text()));
    picker.StartTop = ReadNumberField(S(Top_Edit->text()));
    picker.setGeometry(picker.StartLeft, picker.StartTop, ReadNumberField(S(Width_Edit->text())),
                       ReadNumberField(S(Height_Edit->text())));
    {
        // The editor steps aside for the picker; its own modal loop, and with it the edit, goes on.
        const TScopedModalHide hidden(*window());
        RunModal(picker);
    }
    SetArea(picker.x(), picker.y(), picker.width(), picker.height());
}

void TSetup_ScreenCapture_Frame::Screen_ButtonClick() {
    if (const auto monitor = platform::PrimaryMonitor(*platform::CurrentDisplay()))
        SetArea(0, 0, monitor->Monitor.Width(), monitor->Monitor.Height());
}

void TSetup_ScreenCapture_Frame::Work_ButtonClick() {
    if (const auto monitor = platform::PrimaryMonitor(*platform::CurrentDisplay()))
        SetArea(0, 0, monitor->WorkArea.Width(), monitor->WorkArea.Height());
}

void TSetup_ScreenCapture_Frame::SetArea(int left, int top, int width, int height) {
    Left_Edit->setText(QString::number(left));
    Top_Edit->setText(QString::number(top));
    Width_Edit->setText(QString::number(width));
    Height_Edit->setText(QString::number(height));
}

void TSetup_ScreenCapture_Frame::SpeedButton1Click() {
    const TCaptureJobView job = Job();
    if (!job || !context_.FileChooser) return;
    std::string& dir = job.Params->Files.capFilesDir;
    std::string chosen = dir;
    if (engine::BrowseForFolder("Select File-Source Directory", "", chosen, *context_.FileChooser)) {
        dir = chosen;
        FileDir_Label->setText(ShortenPathForDisplay(Q(dir), FileDir_Label->fontMetrics(), kFilesDirWidthPx));
    }
    if (!dir.empty()) dir = engine::IncludeTrailingPathDelimiter(dir);
}

void TSetup_ScreenCapture_Frame::Ws_ComboBoxChange() {
    WsAct_Label->hide();
    const int socket = ChoiceNumber(*Ws_ComboBox, -1);
    if (context_.WebSocketList && socket >= 0 && socket < static_cast<int>(context_.WebSocketList->Count()))
        WsAct_Label->setVisible(!context_.WebSocketList->Items()[static_cast<size_t>(socket)]->Active);
}

void TSetup_ScreenCapture_Frame::PidDoubleClick(QLineEdit& field) {
    field.setText(Q(TogglePidText(S(field.text()))));
}

bool TSetup_ScreenCapture_Frame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        for (QLineEdit* pid : {VidPid_Edit, AudPid_Edit, PmtPid_Edit})
            if (watched == pid) {
                PidDoubleClick(*pid);
                return true;
            }
    return QWidget::eventFilter(watched, event);
}

}  // namespace app
