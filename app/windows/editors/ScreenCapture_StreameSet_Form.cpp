#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/windows/base/DigitRules.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/base/IpAddrPortFrame.h"
#include "app/windows/base/ScreenFit.h"
#include "app/windows/editors/FtpLog_Form.h"
#include "app/windows/editors/ShareEditRules.h"
#include "app/windows/editors/ShareFilesPage.h"
#include "app/windows/editors/ShareFtpGroup.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "common/MsgDlgWrappers.h"
#include "engine/util/number_strings.h"
#include "engine/settings/program_state.h"
#include "engine/util/ip_address.h"
#include "engine/util/path_utils.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHelpAnchor = "#4.6.2.2 HLS Streamer Settings";

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

// Four decimal parts of one to three digits, each at most 255 (the fields may keep leading zeros).
bool IsDottedIpText(const std::string& text) {
    int parts = 0;
    size_t start = 0;
    while (true) {
        const size_t dot = text.find('.', start);
        const std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!IsDigitString(part) || part.size() > 3 || std::stoi(part) > kMaxOctetValue) return false;
        ++parts;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts == 4;
}

}  // namespace

TScreenCapture_StreameSet_Form::TScreenCapture_StreameSet_Form(TShareEditorContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), ftpLog_(std::make_unique<TFtpLog_Form>(this)) {
    setWindowTitle(QStringLiteral("Share Settings"));
    screenFit_ = std::make_unique<TScreenFit>(*this);
    BuildControls();
    ConnectRules();
    ftpLog_->OnClosed = [this] { setEnabled(true); };
}

void TScreenCapture_StreameSet_Form::reject() {
    // What Cancel does, whichever way the dialog was cancelled (button, Escape, the close box).
    if (okFailed_) Active_CB->setChecked(false);
    QDialog::reject();
}

void TScreenCapture_StreameSet_Form::showEvent(QShowEvent* event) {
    screenFit_->Centre();  // after the dialog's own placing, which differs between the first opening and later ones
    QDialog::showEvent(event);
}

void TScreenCapture_StreameSet_Form::done(int result) {
    // A dialog that goes while its FTP log is up leaves nothing disabled behind.
    if (ftpLog_->isVisible()) ftpLog_->reject();
    setEnabled(true);
    QDialog::done(result);
}

TScreenCapture_StreameSet_Form::~TScreenCapture_StreameSet_Form() = default;

void TScreenCapture_StreameSet_Form::BuildControls() {
    // Everything but the buttons scrolls, so that on a screen smaller than the dialog OK, Cancel and
    // Help stay in sight.
    auto* outer = new QVBoxLayout(this);
    Scroll_Box = new QScrollArea(this);
    Scroll_Box->setWidgetResizable(true);
    Scroll_Box->setFrameShape(QFrame::NoFrame);
    Scroll_Box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* content = new QWidget(Scroll_Box);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* shareGroup = new QGroupBox(QStringLiteral("Share "), this);
    auto* shareLayout = new QHBoxLayout(shareGroup);
    shareLayout->addWidget(new QLabel(QStringLiteral("Protocol"), shareGroup));
    Protocol_ComboBox = new QComboBox(shareGroup);
    Protocol_ComboBox->setObjectName(QStringLiteral("Protocol_ComboBox"));
    Active_CB = new QCheckBox(QStringLiteral("Active"), shareGroup);
    Active_CB->setObjectName(QStringLiteral("Active_CB"));
    shareLayout->addWidget(Protocol_ComboBox);
    shareLayout->addWidget(Active_CB);
    layout->addWidget(shareGroup);

    auto* contentGroup = new QGroupBox(QStringLiteral("Content"), this);
    auto* contentLayout = new QHBoxLayout(contentGroup);
    Video_CB = new QCheckBox(QStringLiteral("Video"), contentGroup);
    Img_CB = new QCheckBox(QStringLiteral("Image Snapshot"), contentGroup);
    Files_CB = new QCheckBox(QStringLiteral("Files"), contentGroup);
    for (QCheckBox* box : {Video_CB, Img_CB, Files_CB}) contentLayout->addWidget(box);
    layout->addWidget(contentGroup);

    IP_Panel = new QGroupBox(QStringLiteral("UDP-Streamer"), this);
    auto* ipLayout = new QHBoxLayout(IP_Panel);
    IpAddr_Frame = new TMod_IpAddr_Port_Frame(IP_Panel);
    ipLayout->addWidget(IpAddr_Frame);
    layout->addWidget(IP_Panel);

    Dest_Panel = BuildDestPanel();
    layout->addWidget(Dest_Panel);

    layout->addStretch();
    Scroll_Box->setWidget(content);
    outer->addWidget(Scroll_Box, 1);

    Bottom_Panel = new QWidget(this);
    auto* bottom = new QHBoxLayout(Bottom_Panel);
    bottom->setContentsMargins(0, 0, 0, 0);
    OK_BitBtn = new QPushButton(QStringLiteral("OK"), Bottom_Panel);
    Cancel_BitBtn = new QPushButton(QStringLiteral("Cancel"), Bottom_Panel);
    Help_BitBtn = new QPushButton(QStringLiteral("Help"), Bottom_Panel);
    OK_BitBtn->setDefault(true);
    bottom->addStretch();
    for (QPushButton* button : {OK_BitBtn, Cancel_BitBtn, Help_BitBtn}) bottom->addWidget(button);
    outer->addWidget(Bottom_Panel);
    IP_Panel->hide();
    Dest_Panel->hide();
}

QWidget* TScreenCapture_StreameSet_Form::BuildDestPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* serverGroup = new QGroupBox(QStringLiteral("Web-Server "), panel);
    auto* serverLayout = new QVBoxLayout(serverGroup);
    WebServer_PageControl = new QTabWidget(serverGroup);
    serverLayout->addWidget(WebServer_PageControl);
    WebServerPage = new TShareWebServerPage(context_, share_, WebServer_PageControl);
    WebServer_PageControl->addTab(WebServerPage, QStringLiteral("Config"));
    FilesPage = new TShareFilesPage(context_, share_, WebServer_PageControl);
    WebServer_PageControl->addTab(FilesPage, QStringLiteral("Files"));
    layout->addWidget(serverGroup);
    FtpGroup = new TShareFtpGroup(context_, *ftpLog_, panel);
    layout->addWidget(FtpGroup);
    return panel;
}

void TScreenCapture_StreameSet_Form::ConnectRules() {
    // Setting a box in code runs its rule just as a click does: toggled fires for both.
    connect(Video_CB, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && !Img_CB->isEnabled()) Video_CB->setChecked(true);
    });
    connect(Img_CB, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && engine::VlcMissing) Img_CB->setChecked(true);
    });
    // The Files box shows that the share publishes a files-source capture's images: it cannot be
    // switched off there, and LoadShare sets it for each share afresh.
    connect(Files_CB, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && Files_CB->isEnabled()) Files_CB->setChecked(true);
    });
    connect(Protocol_ComboBox, &QComboBox::activated, this, [this] { ArrangeProtocol(); });
    connect(OK_BitBtn, &QPushButton::clicked, this, [this] { OK_BitBtnClick(); });
    connect(Cancel_BitBtn, &QPushButton::clicked, this, [this] { Cancel_BitBtnClick(); });
    connect(Help_BitBtn, &QPushButton::clicked, this, [this] {
        if (context_.ShowHelp) context_.ShowHelp(QString::fromLatin1(kHelpAnchor));
    });
}

void TScreenCapture_StreameSet_Form::LoadShare(const engine::PCaptureStreamer& share,
                                               std::optional<uint8_t> captureKind) {
    if (!share) return;
    share_ = share;
    okFailed_ = false;
    setEnabled(true);

    Protocol_ComboBox->clear();
    Protocol_ComboBox->addItem(engine::VlcMissing ? QStringLiteral("HTTP") : QStringLiteral("HTTP / HLS"),
                               engine::kShareProtocolHttp);
    if (!engine::VlcMissing) Protocol_ComboBox->addItem(QStringLiteral("UDP"), engine::kShareProtocolUdp);
    if (engine::VlcMissing || !SelectChoice(*Protocol_ComboBox, share->Protocol)) Protocol_ComboBox->setCurrentIndex(0);

    IpAddr_Frame->SetIpText(engine::IpAddrToText(static_cast<uint32_t>(share->IpAddr)));
    IpAddr_Frame->SetPort(share->Port);
    Active_CB->setChecked(share->Active);
    WebServerPage->LoadFromShare();
    FtpGroup->LoadFrom(*share);

    for (QCheckBox* box : {Video_CB, Img_CB, Files_CB}) box->setEnabled(false);
    for (QCheckBox* box : {Video_CB, Img_CB, Files_CB}) box->setChecked(false);

    if (!captureKind) return;
    if (*captureKind == engine::kCapKindFiles) {
        Files_CB->setChecked(true);
        Files_CB->setEnabled(true);
    } else {
        ArrangeProtocol();
        Video_CB->setChecked(share->VideoActive);
        Img_CB->setChecked(share->ImageActive);
    }
    FilesPage->LoadFromShare();
}

uint8_t TScreenCapture_StreameSet_Form::SelectedProtocol() const {
    return static_cast<uint8_t>(ChoiceNumber(*Protocol_ComboBox, engine::kShareProtocolHttp));
}

void TScreenCapture_StreameSet_Form::ArrangeProtocol() {
    IP_Panel->hide();
    Dest_Panel->hide();
    Img_CB->setEnabled(false);
    Video_CB->setEnabled(false);
    Protocol_ComboBox->setEnabled(true);
    WebServer_PageControl->setCurrentIndex(0);
    QWidget* part = nullptr;
    switch (SelectedProtocol()) {
        case engine::kShareProtocolHttp:
            Img_CB->setEnabled(true);
            Video_CB->setEnabled(!engine::VlcMissing);
            part = Dest_Panel;
            break;
        case engine::kShareProtocolUdp:
            Video_CB->setEnabled(true);
            Video_CB->setChecked(true);
            Img_CB->setChecked(false);
            part = IP_Panel;
            break;
        default:
            break;
    }
    if (part) part->show();
    // The client height of the shown parts and the buttons, the width of the web-server part whichever
    // part shows, so the dialog is the same for a protocol at every opening; never beyond the screen.
    // Only the parts' hints are read: the parts' own size is the scroll area's to set, over the whole
    // width it shows, also at an opening that leaves the dialog's size as it was.
    const QWidget& content = *Scroll_Box->widget();
    const QMargins margins = layout()->contentsMargins();
    const int width = std::max(Dest_Panel->sizeHint().width(), content.sizeHint().width()) + margins.left() +
                      margins.right();
    const int height = content.sizeHint().height() + layout()->spacing() + Bottom_Panel->sizeHint().height() +
                       margins.top() + margins.bottom();
    screenFit_->Fit(QSize(width, height));
}

void TScreenCapture_StreameSet_Form::StoreShare(engine::TCaptureStreamer& share) const {
    // The web servers look shares up by sub-folder under GlobalLock, while the capture may run.
    std::lock_guard lock(engine::GlobalLock());
    share.IpAddr = DottedTextToIpAddr(IpAddr_Frame->GetIpText());
    share.Port = IpAddr_Frame->GetPort();
    share.Protocol = SelectedProtocol();
    share.Active = Active_CB->isChecked();
    share.VideoActive = Video_CB->isChecked();
    share.ImageActive = Img_CB->isChecked();
    share.FileActive = Files_CB->isChecked();
    WebServerPage->StoreTo(share);
    FtpGroup->StoreTo(share);
    FilesPage->StoreTo(share);
}

std::optional<QString> TScreenCapture_StreameSet_Form::CheckInput() {
    switch (SelectedProtocol()) {
        case engine::kShareProtocolHttp: {
            const std::shared_ptr<THttpServerEntry> server = WebServerPage->SelectedServer();
            if (!server) return QStringLiteral("No Web-Server selected!");
            if (engine::RemoveBlanks(S(WebServerPage->LocalDir_Edit->text())).empty())
                return QStringLiteral("Sub-Directory must not be empty!");
            const std::string subDir = CleanSubDir(S(WebServerPage->LocalDir_Edit->text()));
            WebServerPage->LocalDir_Edit->setText(Q(subDir));
            // A sub-folder that climbs out of the root would publish (and create) folders elsewhere.
            if (!IsSubDirInsideRoot(subDir)) return QStringLiteral("Sub-Directory must lie inside the Root-Path!");
            const std::string root = server->Root();
            std::error_code error;
            if (root.empty()) return QStringLiteral("Local Dir could not be created!");
            const fs::path folder = fs::path(engine::IncludeTrailingPathDelimiter(root) + subDir);
            if (!fs::is_directory(folder, error) && (!fs::create_directories(folder, error) || error))
                return QStringLiteral("Local Dir could not be created!");
            const TShareFtpGroup& ftp = *FtpGroup;
            if (ftp.Ftp_CB->isChecked() && ftp.User_Edit->text().isEmpty()) return QStringLiteral("No FTP-User defined!");
            if (ftp.Ftp_CB->isChecked() && ftp.Pw_Edit->text().isEmpty()) return QStringLiteral("No FTP-Password defined!");
            if (context_.CaptureList && !context_.CaptureList->IsShareFolderFree(share_.get(), server.get(), subDir))
                return QStringLiteral("Web-Server Directory already in use!");
            return std::nullopt;
        }
        case engine::kShareProtocolUdp: {
            if (!IsDottedIpText(IpAddr_Frame->GetIpText())) return QStringLiteral("Invalid IP-Address!");
            const int port = IpAddr_Frame->GetPort();
            if (port <= 0 || port >= kMaxUdpPort) return QStringLiteral("Invalid IP-Port!");
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

void TScreenCapture_StreameSet_Form::OK_BitBtnClick() {
    okFailed_ = false;
    FtpGroup->NormalizeHostDir();
    if (Active_CB->isChecked()) {
        if (const std::optional<QString> error = CheckInput()) {
            ShowMsgDlg(components::mtError, QStringLiteral("Error"), *error, 1, QString(), QString(),
                       QStringLiteral("OK"));
            okFailed_ = true;
            return;
        }
    }
    accept();
}

void TScreenCapture_StreameSet_Form::Cancel_BitBtnClick() { reject(); }

}  // namespace app
