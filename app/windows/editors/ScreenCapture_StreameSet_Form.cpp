#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/settings/app_globals.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/ScreenFit.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/editors/FtpCheck.h"
#include "app/windows/editors/FtpLog_Form.h"
#include "app/windows/editors/ShareEditRules.h"
#include "app/windows/base/DigitRules.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "app/windows/base/IpAddrPortFrame.h"
#include "app/windows/base/PathEllipsis.h"
#include "common/MsgDlgWrappers.h"
#include "engine/http/capture_http_server.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"
#include "engine/util/number_strings.h"
#include "engine/util/path_utils.h"
#include "engine/util/system_info.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr components::TColor kFileListOnColor = 0xF0FBFF;
constexpr components::TColor kIndexPanelOnColor = 0xE2EFE2;
constexpr components::TColor kFileControlsOffColor = 0x808080;
constexpr const char* kHelpAnchor = "#4.6.2.2 HLS Streamer Settings";

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

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
    // The Cancel road, whichever way the dialog was cancelled (button, Escape, the close box).
    if (okFailed_) Active_CB->setChecked(false);
    QDialog::reject();
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

    auto* config = new QWidget(WebServer_PageControl);
    auto* configLayout = new QFormLayout(config);
    auto* serverRow = new QHBoxLayout();
    WebServer_ComboBox = new QComboBox(config);
    WebServer_ComboBox->setObjectName(QStringLiteral("WebServer_ComboBox"));
    WebServer_ComboBox->setEditable(false);
    WebServer_ComboBox->installEventFilter(this);  // takes no typed keys
    // As wide as a full entry, whatever the list holds, so the dialog keeps its width.
    WebServer_ComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    WebServer_ComboBox->setMinimumContentsLength(kWebServerChoiceChars);
    WebAdd_TB = MakeToolButton(config, "WebAdd_TB", QStringLiteral("+"), QStringLiteral("Add Web-Server"));
    WebEdit_TB = MakeToolButton(config, "WebEdit_TB", QStringLiteral("..."), QStringLiteral("Edit Web-Server"));
    serverRow->addWidget(WebServer_ComboBox, 1);
    serverRow->addWidget(WebAdd_TB);
    serverRow->addWidget(WebEdit_TB);
    configLayout->addRow(QStringLiteral("Web-Server"), serverRow);
    auto* dirRow = new QHBoxLayout();
    LocalDir_Edit = new QLineEdit(config);
    LocalDir_Edit->setObjectName(QStringLiteral("LocalDir_Edit"));
    GetCompName_TB = MakeToolButton(config, "GetCompName_TB", QStringLiteral("PC"), QStringLiteral("Add Computer Name"));
    dirRow->addWidget(LocalDir_Edit, 1);
    dirRow->addWidget(GetCompName_TB);
    configLayout->addRow(QStringLiteral("Sub-Directory"), dirRow);
    Root_Label = new QLabel(config);
    Root_Label->setObjectName(QStringLiteral("Root_Label"));
    Root_Label->setMinimumWidth(kRootLabelWidthPx);  // its text is shortened to this width
    configLayout->addRow(QStringLiteral("Root-Path"), Root_Label);
    WebServer_PageControl->addTab(config, QStringLiteral("Config"));

    auto* files = new QWidget(WebServer_PageControl);
    auto* filesLayout = new QVBoxLayout(files);
    FilesAct_CB = new QCheckBox(QStringLiteral("Active"), files);
    filesLayout->addWidget(FilesAct_CB);
    auto* indexRow = new QHBoxLayout();
    indexRow->addWidget(new QLabel(QStringLiteral("index.html"), files));
    IdxHtml_Label = new QLabel(files);
    IdxHtml_Label->setObjectName(QStringLiteral("IdxHtml_Label"));
    IdxHtml_Label->setAutoFillBackground(true);
    IdxHtml_Label->setMinimumWidth(kIndexLabelWidthPx);  // its text is shortened to this width
    IdxFile_TB = MakeToolButton(files, "IdxFile_TB", QStringLiteral("..."), QStringLiteral("index.html"));
    EditIdx_TB = MakeToolButton(files, "EditIdx_TB", QStringLiteral("Edit"), QStringLiteral("Edit Index-HTML"));
    DefIdx_TB = MakeToolButton(files, "DefIdx_TB", QStringLiteral("Def"), QStringLiteral("Get Default Index-HTML"));
    indexRow->addWidget(IdxHtml_Label, 1);
    for (QToolButton* button : {IdxFile_TB, EditIdx_TB, DefIdx_TB}) indexRow->addWidget(button);
    filesLayout->addLayout(indexRow);
    File_ListBox = new QListWidget(files);
    File_ListBox->setObjectName(QStringLiteral("File_ListBox"));
    filesLayout->addWidget(File_ListBox);
    auto* fileButtons = new QHBoxLayout();
    AddFile_TB = MakeToolButton(files, "AddFile_TB", QStringLiteral("+"), QStringLiteral("Add File"));
    DelFile_TB = MakeToolButton(files, "DelFile_TB", QStringLiteral("-"), QStringLiteral("Delete File"));
    fileButtons->addWidget(AddFile_TB);
    fileButtons->addWidget(DelFile_TB);
    fileButtons->addStretch();
    filesLayout->addLayout(fileButtons);
    WebServer_PageControl->addTab(files, QStringLiteral("Files"));
    layout->addWidget(serverGroup);

    auto* ftpGroup = new QGroupBox(QStringLiteral("FTP Upload"), panel);
    auto* ftpLayout = new QFormLayout(ftpGroup);
    Ftp_CB = new QCheckBox(QStringLiteral("Active"), ftpGroup);
    CheckBox1 = new QCheckBox(QStringLiteral("Clear FTP Directory"), ftpGroup);
    auto* ftpTop = new QHBoxLayout();
    ftpTop->addWidget(Ftp_CB);
    ftpTop->addWidget(CheckBox1);
    ftpLayout->addRow(ftpTop);
    Host_Edit = new QLineEdit(ftpGroup);
    User_Edit = new QLineEdit(ftpGroup);
    Pw_Edit = new QLineEdit(ftpGroup);
    Pw_Edit->setEchoMode(QLineEdit::Password);
    HostDir_Edit = new QLineEdit(ftpGroup);
    HostDir_Edit->setObjectName(QStringLiteral("HostDir_Edit"));
    Computer_TB = MakeToolButton(ftpGroup, "Computer_TB", QStringLiteral("PC"), QStringLiteral("Add Computer Name"));
    ftpLayout->addRow(QStringLiteral("Host"), Host_Edit);
    ftpLayout->addRow(QStringLiteral("User"), User_Edit);
    ftpLayout->addRow(QStringLiteral("Password"), Pw_Edit);
    auto* hostDirRow = new QHBoxLayout();
    hostDirRow->addWidget(HostDir_Edit, 1);
    hostDirRow->addWidget(Computer_TB);
    ftpLayout->addRow(QStringLiteral("Host-Directory"), hostDirRow);
    auto* freqRow = new QHBoxLayout();
    ImgFreq_SpinEdit = new TSpinEdit(ftpGroup);
    SetupSpin(*ImgFreq_SpinEdit, kMinFtpUploadFreqS, kMaxFtpUploadFreqS);
    CheckFtp_TB = MakeToolButton(ftpGroup, "CheckFtp_TB", QStringLiteral("Check FTP"), QStringLiteral("Check FTP"));
    freqRow->addWidget(ImgFreq_SpinEdit);
    freqRow->addWidget(new QLabel(QStringLiteral("sec"), ftpGroup));
    freqRow->addStretch();
    freqRow->addWidget(CheckFtp_TB);
    ftpLayout->addRow(QStringLiteral("Upload Freq."), freqRow);
    layout->addWidget(ftpGroup);
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
    connect(FilesAct_CB, &QCheckBox::toggled, this, [this](bool on) { EnableFileControls(on); });
    connect(Protocol_ComboBox, &QComboBox::activated, this, [this] { ArrangeProtocol(); });
    connect(WebServer_ComboBox, &QComboBox::currentIndexChanged, this, [this] {
        WebServer_ComboBox->setToolTip(WebServer_ComboBox->currentText());
        ShowRoot(SelectedServer().get());
    });
    connect(OK_BitBtn, &QPushButton::clicked, this, [this] { OK_BitBtnClick(); });
    connect(Cancel_BitBtn, &QPushButton::clicked, this, [this] { Cancel_BitBtnClick(); });
    connect(Help_BitBtn, &QPushButton::clicked, this, [this] {
        if (context_.ShowHelp) context_.ShowHelp(QString::fromLatin1(kHelpAnchor));
    });
    connect(WebAdd_TB, &QToolButton::clicked, this, [this] { WebAdd_TBClick(); });
    connect(WebEdit_TB, &QToolButton::clicked, this, [this] { WebEdit_TBClick(); });
    connect(GetCompName_TB, &QToolButton::clicked, this, [this] {
        LocalDir_Edit->setText(Q(engine::SanitizeName(engine::GetLocalComputerName())).toLower());
    });
    connect(Computer_TB, &QToolButton::clicked, this, [this] {
        HostDir_Edit->setText(Q(engine::SanitizeName(engine::GetLocalComputerName())).toLower());
    });
    connect(IdxFile_TB, &QToolButton::clicked, this, [this] { IdxFile_TBClick(); });
    connect(EditIdx_TB, &QToolButton::clicked, this, [this] { EditIdx_TBClick(); });
    connect(DefIdx_TB, &QToolButton::clicked, this, [this] { DefIdx_TBClick(); });
    connect(AddFile_TB, &QToolButton::clicked, this, [this] { AddFile_TBClick(); });
    connect(DelFile_TB, &QToolButton::clicked, this, [this] { DelFile_TBClick(); });
    connect(CheckFtp_TB, &QToolButton::clicked, this, [this] { CheckFtp_TBClick(); });
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
    FillWebServerList(*share);
    LocalDir_Edit->setText(Q(share->SubDir));
    Ftp_CB->setChecked(share->FtpActive);
    Host_Edit->setText(Q(share->FtpHost));
    User_Edit->setText(Q(share->FtpUser));
    Pw_Edit->setText(Q(share->FtpPassword));
    HostDir_Edit->setText(Q(share->FtpHostDir));
    ImgFreq_SpinEdit->setValue(share->FtpImageFreq);

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
    shareIndexFile_ = FileExists(share->IndexHtml) ? share->IndexHtml : std::string();
    ShowIndexFile();
    File_ListBox->clear();
    for (const std::string& file : share->FileList)
        if (FileExists(file)) File_ListBox->addItem(Q(file));
    FilesAct_CB->setChecked(share->UseFileList);
    EnableFileControls(share->UseFileList);
}

void TScreenCapture_StreameSet_Form::FillWebServerList(engine::TCaptureStreamer& share) {
    Root_Label->clear();
    Root_Label->setToolTip(QString());
    const QSignalBlocker blocker(WebServer_ComboBox);
    WebServer_ComboBox->clear();
    if (!context_.HttpServers) return;
    const auto& servers = context_.HttpServers->Items();
    int selected = -1;
    for (size_t i = 0; i < servers.size(); ++i) {
        WebServer_ComboBox->addItem(Q(WebServerChoiceText(*servers[i], static_cast<int>(i))));
        if (selected < 0 && share.HttpServer && share.HttpServer.get() == servers[i].get()) selected = static_cast<int>(i);
    }
    if (selected < 0 && !servers.empty()) {
        share.HttpServer = servers.front();
        selected = 0;
    }
    WebServer_ComboBox->setCurrentIndex(selected);
    WebServer_ComboBox->setToolTip(WebServer_ComboBox->currentText());
    ShowRoot(SelectedServer().get());
}

std::shared_ptr<THttpServerEntry> TScreenCapture_StreameSet_Form::SelectedServer() const {
    const int index = WebServer_ComboBox->currentIndex();
    if (!context_.HttpServers || index < 0 || index >= static_cast<int>(context_.HttpServers->Count())) return nullptr;
    return context_.HttpServers->Items()[static_cast<size_t>(index)];
}

void TScreenCapture_StreameSet_Form::ShowRoot(const THttpServerEntry* entry) {
    const QString root = entry ? Q(entry->Root()) : QString();
    Root_Label->setText(ShortenPathForDisplay(root, Root_Label->fontMetrics(), kRootLabelWidthPx));
    Root_Label->setToolTip(root);
}

void TScreenCapture_StreameSet_Form::ShowIndexFile() {
    IdxHtml_Label->setText(ShortenPathForDisplay(Q(shareIndexFile_), IdxHtml_Label->fontMetrics(), kIndexLabelWidthPx));
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
    QWidget& content = *Scroll_Box->widget();
    content.adjustSize();
    const QMargins margins = layout()->contentsMargins();
    const int width = std::max(Dest_Panel->sizeHint().width(), content.sizeHint().width()) + margins.left() +
                      margins.right();
    const int height = content.sizeHint().height() + layout()->spacing() + Bottom_Panel->sizeHint().height() +
                       margins.top() + margins.bottom();
    screenFit_->Fit(QSize(width, height));
}

// The choice is made with the mouse: typed keys would pick a server by its first letter or step through
// the list. The keys that move the focus, cancel or press the default button pass as in every field.
bool TScreenCapture_StreameSet_Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == WebServer_ComboBox && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                break;
            default:
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TScreenCapture_StreameSet_Form::EnableFileControls(bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{IdxFile_TB, EditIdx_TB, AddFile_TB, DelFile_TB, File_ListBox})
        control->setEnabled(on);
    SetFieldColor(*File_ListBox, on ? kFileListOnColor : kFileControlsOffColor);
    QPalette palette = IdxHtml_Label->palette();
    const components::TColor panel = on ? kIndexPanelOnColor : kFileControlsOffColor;
    palette.setColor(QPalette::Window, QColor(panel & 0xFF, (panel >> 8) & 0xFF, (panel >> 16) & 0xFF));
    IdxHtml_Label->setPalette(palette);
}

void TScreenCapture_StreameSet_Form::StoreShare(engine::TCaptureStreamer& share) const {
    // The web servers look shares up by sub-folder under GlobalLock, while the capture may run.
    std::lock_guard lock(engine::GlobalLock());
    share.IpAddr = DottedTextToIpAddr(IpAddr_Frame->GetIpText());
    share.Port = IpAddr_Frame->GetPort();
    share.HttpServer = SelectedServer();
    share.Protocol = SelectedProtocol();
    share.Active = Active_CB->isChecked();
    share.FtpActive = Ftp_CB->isChecked();
    share.FtpHost = S(Host_Edit->text());
    share.FtpUser = S(User_Edit->text());
    share.FtpPassword = S(Pw_Edit->text());
    share.FtpHostDir = S(HostDir_Edit->text());
    share.SubDir = S(LocalDir_Edit->text());
    share.FtpImageFreq = ImgFreq_SpinEdit->value();
    share.VideoActive = Video_CB->isChecked();
    share.ImageActive = Img_CB->isChecked();
    share.FileActive = Files_CB->isChecked();
    if (FileExists(shareIndexFile_)) share.IndexHtml = shareIndexFile_;
    share.FileList.clear();
    for (int i = 0; i < File_ListBox->count(); ++i) {
        const std::string file = S(File_ListBox->item(i)->text());
        if (FileExists(file)) share.FileList.push_back(file);
    }
    share.UseFileList = FilesAct_CB->isChecked();
}

std::optional<QString> TScreenCapture_StreameSet_Form::CheckInput() {
    switch (SelectedProtocol()) {
        case engine::kShareProtocolHttp: {
            const std::shared_ptr<THttpServerEntry> server = SelectedServer();
            if (!server) return QStringLiteral("No Web-Server selected!");
            if (engine::RemoveBlanks(S(LocalDir_Edit->text())).empty())
                return QStringLiteral("Sub-Directory must not be empty!");
            const std::string subDir = CleanSubDir(S(LocalDir_Edit->text()));
            LocalDir_Edit->setText(Q(subDir));
            // A sub-folder that climbs out of the root would publish (and create) folders elsewhere.
            if (!IsSubDirInsideRoot(subDir)) return QStringLiteral("Sub-Directory must lie inside the Root-Path!");
            const std::string root = server->Root();
            std::error_code error;
            if (root.empty()) return QStringLiteral("Local Dir could not be created!");
            const fs::path folder = fs::path(engine::IncludeTrailingPathDelimiter(root) + subDir);
            if (!fs::is_directory(folder, error) && (!fs::create_directories(folder, error) || error))
                return QStringLiteral("Local Dir could not be created!");
            if (Ftp_CB->isChecked() && User_Edit->text().isEmpty()) return QStringLiteral("No FTP-User defined!");
            if (Ftp_CB->isChecked() && Pw_Edit->text().isEmpty()) return QStringLiteral("No FTP-Password defined!");
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
    HostDir_Edit->setText(Q(NormalizeHostDir(S(HostDir_Edit->text()))));
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

void TScreenCapture_StreameSet_Form::CheckFtp_TBClick() {
    ftpLog_->FormShow();
    setEnabled(false);
    ftpLog_->setEnabled(true);  // a window of its own, which the editor's disabling reached as well
    const engine::FtpLogin login{S(Host_Edit->text()), S(User_Edit->text()), S(Pw_Edit->text())};
    std::unique_ptr<engine::FtpSession> session =
        context_.MakeFtpSession ? context_.MakeFtpSession(login) : std::make_unique<engine::CurlFtpSession>(login);
    const std::string hostDir = NormalizeHostDir(S(HostDir_Edit->text()));
    HostDir_Edit->setText(Q(hostDir));
    TFtpCheckIo io;
    io.AddLine = [this](const std::string& line) { ftpLog_->AddLine(Q(line)); };
    io.ConfirmCreate = [](const std::string& dir) {
        return ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                          QStringLiteral("Do you want to create the directory \"%1\" ?").arg(Q(dir)), 1, QString(),
                          QStringLiteral("Cancel"), QStringLiteral("Yes")) == kMsgDlgButton1;
    };
    RunFtpCheck(*session, login.host, hostDir, io);
}

void TScreenCapture_StreameSet_Form::WebAdd_TBClick() {
    if (!share_) return;
    if (context_.AddHttpServer) context_.AddHttpServer();
    FillWebServerList(*share_);
    if (context_.SaveHttpServerList) context_.SaveHttpServerList();
}

void TScreenCapture_StreameSet_Form::WebEdit_TBClick() {
    const std::shared_ptr<THttpServerEntry> server = SelectedServer();
    if (!server || !share_) return;  // nothing to edit in an empty list
    if (context_.CaptureList &&
        !context_.CaptureList->IsShareFolderFree(share_.get(), server.get(), S(LocalDir_Edit->text())))
        return;
    if (context_.EditHttpServer) context_.EditHttpServer(*server);
    const int index = WebServer_ComboBox->currentIndex();
    WebServer_ComboBox->setItemText(index, Q(WebServerChoiceText(*server, index)));
    WebServer_ComboBox->setCurrentIndex(index);
    ShowRoot(server.get());
    if (context_.SaveHttpServerList) context_.SaveHttpServerList();
}

std::string TScreenCapture_StreameSet_Form::CopyIntoHtmlDir(const std::string& file, const std::string& name) const {
    if (!share_ || share_->HtmlDir.empty()) return {};
    const std::string target = engine::IncludeTrailingPathDelimiter(share_->HtmlDir) + name;
    std::error_code error;
    fs::create_directories(share_->HtmlDir, error);
    if (fs::equivalent(file, target, error)) return target;
    if (!fs::copy_file(file, target, fs::copy_options::overwrite_existing, error)) return {};
    return target;
}

void TScreenCapture_StreameSet_Form::IdxFile_TBClick() {
    if (!context_.FileChooser || !share_) return;
    if (const std::optional<std::string> chosen = context_.FileChooser->OpenFile(this, "index.html", share_->HtmlDir)) {
        shareIndexFile_ = engine::IncludeTrailingPathDelimiter(share_->HtmlDir) + "index.html";
        CopyIntoHtmlDir(*chosen, "index.html");
    }
    ShowIndexFile();
}

void TScreenCapture_StreameSet_Form::EditIdx_TBClick() {
    if (!FileExists(shareIndexFile_) || !context_.HtmlForm) return;
    context_.HtmlForm->FileName = shareIndexFile_;
    if (context_.HtmlForm->LoadFile()) RunModal(*context_.HtmlForm);
}

void TScreenCapture_StreameSet_Form::DefIdx_TBClick() {
    const std::string templateFile = IndexPage()->IndexHtmlFile;
    if (!FileExists(templateFile) || !share_) return;
    shareIndexFile_ = engine::IncludeTrailingPathDelimiter(share_->HtmlDir) + "index.html";
    CopyIntoHtmlDir(templateFile, "index.html");
    ShowIndexFile();
}

void TScreenCapture_StreameSet_Form::AddFile_TBClick() {
    if (!context_.FileChooser || !share_) return;
    const std::optional<std::string> chosen = context_.FileChooser->OpenFile(this, "Add File", share_->HtmlDir);
    if (!chosen || !File_ListBox->findItems(Q(*chosen), Qt::MatchExactly).isEmpty()) return;
    const std::string copy = CopyIntoHtmlDir(*chosen, engine::ExtractFileName(*chosen));
    if (!copy.empty() && File_ListBox->findItems(Q(copy), Qt::MatchExactly).isEmpty()) File_ListBox->addItem(Q(copy));
}

void TScreenCapture_StreameSet_Form::DelFile_TBClick() { delete File_ListBox->takeItem(File_ListBox->currentRow()); }

}  // namespace app
