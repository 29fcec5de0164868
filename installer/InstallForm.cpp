#include "installer/InstallForm.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QShowEvent>
#include <climits>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

#include "common/HtmlHelp.h"
#include "engine/util/path_utils.h"
#include "installer/ColorFrames.h"
#include "installer/ButtonLooks.h"
#include "installer/CanvasPanelEx.h"
#include "installer/DisplayMemo.h"
#include "installer/InstallTarget.h"
#include "installer/InstallerHost.h"
#include "installer/InstallerLed.h"
#include "installer/InstallerLog.h"
#include "installer/InstallerMessages.h"
#include "installer/InstallerRegistry.h"
#include "installer/InstallerStartUp.h"
#include "installer/LibraryInstall.h"
#include "installer/RunFolder.h"
#include "installer/Unzip.h"
#include "installer/VlcDownload.h"
#include "installer/VlcLibraryProbe.h"
#include "installer/WaitForm.h"

namespace hollarin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLogName = "install window";
constexpr const char* kNotAvailable = "n/a";
constexpr components::TColor kMemoPanelColor = 0xC0FFFF;
constexpr int kMemoBorderPx = 10;

const QString kErrorTitle = QStringLiteral("Error");
const QString kInstallTitle = QStringLiteral("Installation");

// What a user on this system does instead, when the download server has no release for it.
constexpr const char* kSystemVlcAdvice =
    "Please install the system's libVLC instead (on Debian: the packages libvlc5 and vlc-plugin-base); "
    "Framewick copies it into its library folder at its next start.";

// The folder named by -dd when it exists or can be made; "" otherwise (never a relative path).
std::string AcceptTargetFolder(const std::string& folder) {
    if (folder.empty()) return std::string();
    const fs::path path(folder);
    if (!path.is_absolute()) {
        InstallerLog(kLogName, "library folder \"" + folder + "\" is not absolute: not used");
        return std::string();
    }
    std::error_code ec;
    if (!fs::is_directory(path, ec) && !fs::create_directories(path, ec)) {
        InstallerLog(kLogName, "library folder \"" + folder + "\" cannot be made: " + ec.message());
        return std::string();
    }
    return engine::IncludeTrailingPathDelimiter(folder);
}

// The thousands separator of the system's locale; a blank where it is no single ASCII character.
char SystemGroupSeparator() {
    const QString separator = QLocale::system().groupSeparator();
    return separator.size() == 1 && separator[0].unicode() > 0x20 && separator[0].unicode() < 0x80
               ? char(separator[0].unicode())
               : ' ';
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    return label;
}

}  // namespace

void SetLedOk(TLed& led, bool ok) {
    TCustomColor& colors = led.Led().llCustomColor();
    led.Led().SetLlColor(lcdCustom);
    colors.SetCcColor1On(ok ? 0x006600 : 0x0000EA);
    colors.SetCcColor2On(ok ? 0x80FF80 : 0x8080FF);
}

QString TFaldrin_Install_Form::InformationText(const std::string& wantedVersion) {
    return QStringLiteral("IMPORTANT INFORMATION !\r\n") + QString(19, QLatin1Char('=')) + QStringLiteral("\r\n\r\n") +
           QStringLiteral("VLC V") + QString::fromStdString(wantedVersion) +
           QStringLiteral(" as player/decoder plug-in required !") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Please click 'GetVLC' to download and install the required VLC libraries.") +
           QStringLiteral("\r\n\r\n") + QStringLiteral("!!! Note : An already installed VLC is not affected !!!") +
           QStringLiteral("\r\n\r\n") + QString(77, QLatin1Char('-')) + QStringLiteral("\r\n\r\n") +
           QStringLiteral("After successful installation please re-start the desired application.") +
           QStringLiteral("\r\n\r\n");
}

TFaldrin_Install_Form::TFaldrin_Install_Form(TInstallFormSetup setup, TWait_Form& waitForm, IInstallerHost& host,
                                             TInstallerVlcLib& binding)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      setup_(std::move(setup)),
      wait_(waitForm),
      host_(host),
      binding_(binding),
      messages_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) { OnMessage(msg, wParam, lParam); }) {
    setWindowTitle(QString::fromLatin1(kInstallWindowCaption));
    BuildLayout();
    wait_.OnBreak = [this](int mode) { BreakOff(mode); };
    FormCreate();
}

// The threads hold the working folder while they end; the last of them removes it.
TFaldrin_Install_Form::~TFaldrin_Install_Form() = default;

void TFaldrin_Install_Form::BuildLayout() {
    setFixedSize(kInstallWindowWidth, kInstallWindowHeight);
    auto* frame = new TColorFrames(this);
    frame->setGeometry(0, 0, kInstallWindowWidth, kInstallWindowHeight);
    frame->SetHitTest(components::htForm);

    titlePanel_ = new TCanvasPanelEx(frame);
    titlePanel_->setGeometry(10, 10, kInstallWindowWidth - 20, 30);
    titlePanel_->SetCaption(QStringLiteral("Setup Plug-In"));
    titlePanel_->SetHitTest(components::htForm);

    auto* memoPanel = new QFrame(frame);
    memoPanel->setGeometry(10, 50, kInstallWindowWidth - 20, 250);
    QPalette memoPalette = memoPanel->palette();
    memoPalette.setColor(QPalette::Window, components::ToQColor(kMemoPanelColor));
    memoPanel->setPalette(memoPalette);
    memoPanel->setAutoFillBackground(true);
    memo_ = new TDisplayMemo(memoPanel);
    memo_->setGeometry(kMemoBorderPx, kMemoBorderPx, memoPanel->width() - 2 * kMemoBorderPx,
                       memoPanel->height() - 2 * kMemoBorderPx);
    memo_->setFrameShape(QFrame::NoFrame);

    MakeLabel(frame, QStringLiteral("Version"), 20, 316);
    versionPanel_ = new QLabel(QString::fromLatin1(kNotAvailable), frame);
    versionPanel_->setGeometry(75, 312, 110, 24);
    versionPanel_->setFrameShape(QFrame::Panel);
    versionPanel_->setFrameShadow(QFrame::Sunken);
    versionPanel_->setAlignment(Qt::AlignCenter);

    MakeLabel(frame, QStringLiteral("VLC"), 200, 316);
    vlcLed_ = new TLed(frame);
    vlcLed_->move(230, 316);
    vlcLed_->LedMainProp().SetLpOn(true);
    MakeLabel(frame, QStringLiteral("Admin"), 255, 316);
    adminLed_ = new TLed(frame);
    adminLed_->move(300, 316);
    adminLed_->Led().SetLlColor(lcdGreen);

    adminLabel_ = new QLabel(QStringLiteral("Administrator rights required !"), frame);
    adminLabel_->setGeometry(20, 352, 220, 20);
    QPalette warn = adminLabel_->palette();
    warn.setColor(QPalette::WindowText, Qt::red);
    adminLabel_->setPalette(warn);

    getVlcButton_ = new TCanvasPanelEx(frame);
    getVlcButton_->setGeometry(250, 346, 95, 32);
    getVlcButton_->SetCaption(QStringLiteral("Get VLC"));
    WireButtonLooks(*getVlcButton_, kButtonNormalFontColor);
    getVlcButton_->OnClick = [this](QWidget*) { GetVlc_TBClick(); };

    exitButton_ = new TCanvasPanelEx(frame);
    exitButton_->setGeometry(355, 346, 95, 32);
    exitButton_->SetCaption(QStringLiteral("Exit"));
    exitButton_->setFocusPolicy(Qt::StrongFocus);
    WireButtonLooks(*exitButton_, kButtonNormalFontColor);
    exitButton_->OnClick = [this](QWidget*) { Cancel_TBClick(); };

    helpButton_ = new TCanvasPanelEx(frame);
    helpButton_->setGeometry(145, 346, 95, 32);
    helpButton_->SetCaption(QStringLiteral("Help"));
    WireButtonLooks(*helpButton_);
    helpButton_->OnClick = [this](QWidget*) { Help_TBClick(); };
    helpButton_->hide();

    // Centred on the (primary) screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void TFaldrin_Install_Form::FormCreate() {
    wantedVlcVersion_ = !setup_.CommandLine.VlcVersionParam.empty()
                            ? setup_.CommandLine.VlcVersionParam
                            : RegReadMonitorString(kSupportedVlcVerValue, kDefaultSupportedVlcVer);
    rights_ = true;
    adminLabel_->hide();
    libVlcDir_ = AcceptTargetFolder(setup_.CommandLine.VlcDirParam);
    const TVlcProbe probe = ProbeVlcLibrary(binding_, libVlcDir_, wantedVlcVersion_);
    if (probe.Loaded) {
        vlcOk_ = probe.Version.Ok;
        ShowVersion(probe.Version.VersionText);
    }
    helpFile_ = QString::fromStdString(HelpDir() + kHelpFileName);
    helpContext_ = kInstallWindowHelpContext;
}

void TFaldrin_Install_Form::ShowVersion(const std::string& versionText) {
    vlcVersionText_ = versionText;
    versionPanel_->setText(QString::fromStdString(vlcVersionText_));
    SetLedOk(*vlcLed_, true);
}

void TFaldrin_Install_Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

bool TFaldrin_Install_Form::WriteTest() const {
    const std::string folder =
        engine::IncludeTrailingPathDelimiter(setup_.ProgramFolder.empty() ? engine::ProgramFolder() : setup_.ProgramFolder);
    // A file of that name that is there already is not ours to replace.
    std::error_code ec;
    std::string file = folder + kWriteTestFile;
    if (fs::exists(file, ec)) file = folder + "test-" + std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(file, std::ios::trunc);
        out << kWriteTestText;
        out.close();
        if (!out) {
            InstallerLog(kLogName, "write test in " + folder + " failed");
            fs::remove(file, ec);
            return false;
        }
    }
    return fs::remove(file, ec);
}

void TFaldrin_Install_Form::FormShow() {
    adminLed_->LedMainProp().SetLpOn(false);
    bool isAdmin = false;
    const bool tested = host_.IsUserAdministrator(isAdmin);
    rights_ = isAdmin;
    if (!tested || !rights_) {
        host_.ShowMessage(kErrorTitle, QStringLiteral("Run this application as administration !!!"), TMessageIcon::Error);
        host_.EndProcess();
        return;
    }
    adminLed_->LedMainProp().SetLpOn(true);
    if (!WriteTest()) rights_ = false;
    adminLabel_->setVisible(!rights_);
    memo_->setPlainText(InformationText(wantedVlcVersion_));
    if (vlcOk_) {
        versionPanel_->setText(QString::fromStdString(vlcVersionText_));
        SetLedOk(*vlcLed_, true);
        getVlcButton_->setEnabled(false);
        adminLabel_->hide();
    } else {
        versionPanel_->setText(QString::fromLatin1(kNotAvailable));
        SetLedOk(*vlcLed_, false);
        getVlcButton_->setEnabled(true);
    }
    exitButton_->setFocus();
}

QString TFaldrin_Install_Form::VersionPanelText() const { return versionPanel_->text(); }
bool TFaldrin_Install_Form::AdminLabelShown() const { return adminLabel_->isVisibleTo(this); }
QString TFaldrin_Install_Form::MemoText() const { return memo_->toPlainText(); }

void TFaldrin_Install_Form::GetVlc_TBClick() {
    if (!getVlcButton_->isEnabled() || Busy()) return;
    if (!rights_) {
        host_.ShowMessage(kErrorTitle, QStringLiteral("Administrator rights required !"), TMessageIcon::None);
        return;
    }
    if (!AcceptInstallTarget()) return;
    const auto url = VlcDownloadUrl(wantedVlcVersion_, setup_.DownloadServer);
    if (!url) {
        InstallerLog(kLogName, "version \"" + wantedVlcVersion_ + "\" cannot name a download");
        host_.ShowMessage(kErrorTitle,
                          QStringLiteral("The VLC version \"%1\" cannot be downloaded: it is not a version number.")
                              .arg(QString::fromStdString(wantedVlcVersion_)),
                          TMessageIcon::Error);
        return;
    }
    StartDownload(*url);
}

bool TFaldrin_Install_Form::AcceptInstallTarget() {
    // An unusable -dd left the library folder empty; its own name tells the user why.
    const std::string folder = libVlcDir_.empty() ? setup_.CommandLine.VlcDirParam : libVlcDir_;
    const std::string refusal = InstallTargetRefusal(folder);
    if (refusal.empty()) return true;
    InstallerLog(kLogName, "library folder \"" + folder + "\" refused: " + refusal);
    host_.ShowMessage(kInstallTitle,
                      QStringLiteral("VLC cannot be installed into the library folder: %1.\r\n\r\nNothing was "
                                     "downloaded or changed; the folder was left as it was:\r\n%2")
                          .arg(QString::fromStdString(refusal), QString::fromStdString(folder)),
                      TMessageIcon::Error);
    return false;
}

void TFaldrin_Install_Form::StartDownload(const std::string& url) {
    std::string error;
    run_ = TRunFolder::Create(setup_.TempFolder, &error);
    if (!run_) {
        InstallerLog(kLogName, error);
        host_.ShowMessage(kInstallTitle,
                          QStringLiteral("No working folder for the download could be made:\r\n%1")
                              .arg(QString::fromStdString(error)),
                          TMessageIcon::Error);
        return;
    }
    TDownloadRequest request;
    request.Url = url;
    request.ZipFileName = run_->Paths().ZipFileName;
    request.ProgressTarget = messages_.Handle();
    request.RunFolder = run_;
    download_ = std::make_unique<TVlcDownload>(
        request, [this](TVlcDownload&, const TDownloadResult& result) { DownloadDone(result); }, setup_.HttpClient);
    if (!download_->Start()) {
        InstallerLog(kLogName, "the download thread could not be started");
        download_.reset();
        EndRun();
        return;
    }
    wait_.SetGaugeMax(kExpectedArchiveBytes);
    wait_.ShowWait(kWaitModeDownloading, this);
}

void TFaldrin_Install_Form::OnMessage(uint32_t msg, intptr_t wParam, intptr_t lParam) {
    if (msg != kInstallerMessage || !wait_.Showing()) return;
    const int bytes = int(std::min<intptr_t>(lParam, INT_MAX));
    if (wParam == kDownloadProgress) {
        wait_.SetGaugeProgress(bytes);
    } else if (wParam == kDownloadSize && lParam >= 0) {
        // Without a length (-1) the gauge keeps its expected size and the text its mode's.
        wait_.SetGaugeMax(bytes);
        wait_.SetInfoText(QString::fromStdString(DownloadSizeText(lParam, SystemGroupSeparator())));
    }
}

void TFaldrin_Install_Form::DownloadDone(const TDownloadResult& result) {
    download_.reset();
    wait_.EndWait();
    switch (result.Status) {
    case TDownloadStatus::Downloaded: {
        RegWriteMonitorString(kZipFnValue, run_->Paths().ZipFileName);
        RegWriteMonitorString(kZipDirValue, run_->Paths().ZipDirValue);
        wait_.ShowWait(kWaitModeUnpacking, this);
        unzip_ = std::make_unique<TUnzip>();
        unzip_->SetZipFile(result.ZipFileName);
        unzip_->SetTargetDir(run_->Paths().UnzipDir);
        unzip_->SetRunFolder(run_);
        unzip_->OnDone = [this](TUnzip&, int code, bool done) { InstallLibraries(code, done); };
        if (!unzip_->Start()) {
            InstallerLog(kLogName, "the extraction of " + result.ZipFileName + " could not be started");
            unzip_.reset();
            wait_.EndWait();
            EndRun();
        }
        return;
    }
    case TDownloadStatus::NotOffered:
        host_.ShowMessage(kInstallTitle,
                          QStringLiteral("The download server offers no VLC %1 release for this system: the archive "
                                         "was not found.\r\n\r\n%2")
                              .arg(QString::fromStdString(wantedVlcVersion_), QString::fromLatin1(kSystemVlcAdvice)),
                          TMessageIcon::Error);
        break;
    case TDownloadStatus::DownloadFailed:
        host_.ShowMessage(kErrorTitle,
                          QStringLiteral("Download Error!\r\n\r\nReasons could be:\r\n  - no proper Internet "
                                         "connection!\r\n  - VLC download server down"),
                          TMessageIcon::Error);
        break;
    case TDownloadStatus::SaveFailed:
        InstallerLog(kLogName, "the archive could not be saved as " + run_->Paths().ZipFileName);
        ShowInstallError(QStringLiteral("The downloaded archive could not be saved in the temporary folder (is the "
                                        "disk full?)."));
        break;
    }
    EndRun();
}

void TFaldrin_Install_Form::InstallLibraries(int code, bool done) {
    wait_.EndWait();
    if (!done || code != kUnzipOk) {
        InstallerLog(kLogName, "extraction ended with code " + std::to_string(code) + ": nothing installed");
        const TUnzipFailure failure = unzip_->Failure();
        unzip_.reset();
        EndRun();
        ReportUnzipFailure(failure);
        return;
    }
    unzip_.reset();
    wait_.ShowWait(kWaitModePreparing, this);
    const TInstallResult result =
        TLibraryInstall(binding_, run_->Paths().UnzipDir, libVlcDir_, wantedVlcVersion_).Run();
    EndRun();
    if (result.Probe.Loaded) {
        vlcOk_ = result.Probe.Version.Ok;
        ShowVersion(result.Probe.Version.VersionText);
    }
    wait_.EndWait();
    ReportInstall(result);
}

void TFaldrin_Install_Form::EndRun() {
    if (run_) run_->Remove();
    run_.reset();
}

void TFaldrin_Install_Form::ShowInstallError(const QString& what) {
    host_.ShowMessage(kInstallTitle,
                      what + QStringLiteral("\r\n\r\nNothing was installed; the library folder was left as it "
                                            "was:\r\n%1")
                                 .arg(QString::fromStdString(libVlcDir_)),
                      TMessageIcon::Error);
}

void TFaldrin_Install_Form::ReportUnzipFailure(TUnzipFailure failure) {
    switch (failure) {
    case TUnzipFailure::None:
    case TUnzipFailure::Stopped:  // the user's own Escape: nothing to tell
        return;
    case TUnzipFailure::NotAnArchive:
        ShowInstallError(QStringLiteral("The downloaded file is no zip archive that can be read: it is damaged, cut "
                                        "short or something else."));
        return;
    case TUnzipFailure::Needs64Bit:
        ShowInstallError(QStringLiteral("The downloaded archive needs 64-bit sizes or offsets (Zip64), which this "
                                        "installer does not read."));
        return;
    case TUnzipFailure::UnsafeName:
        ShowInstallError(QStringLiteral("The downloaded archive holds a file name that leads out of its folder; it "
                                        "was not unpacked."));
        return;
    case TUnzipFailure::DamagedEntry:
        ShowInstallError(QStringLiteral("The downloaded archive is damaged: a file in it is cut short or fails its "
                                        "check."));
        return;
    case TUnzipFailure::UnsupportedEntry:
        ShowInstallError(QStringLiteral("The downloaded archive holds a file that is encrypted or packed with a "
                                        "method this installer does not read."));
        return;
    case TUnzipFailure::CannotWrite:
        ShowInstallError(QStringLiteral("The archive could not be unpacked into the temporary folder (is the disk "
                                        "full?)."));
        return;
    case TUnzipFailure::Error:
        ShowInstallError(QStringLiteral("Unpacking the downloaded archive ended with an unexpected error."));
        return;
    }
}

void TFaldrin_Install_Form::ReportInstall(const TInstallResult& result) {
    const QString version = QString::fromStdString(wantedVlcVersion_);
    const QString folder = QString::fromStdString(libVlcDir_);
    switch (result.Status) {
    case TInstallStatus::Installed:
        return;
    case TInstallStatus::TargetRefused:
        host_.ShowMessage(kInstallTitle,
                          QStringLiteral("VLC cannot be installed into the library folder: %1.\r\n\r\nNothing was "
                                         "installed; the folder was left as it was:\r\n%2")
                              .arg(QString::fromStdString(result.Refusal), folder),
                          TMessageIcon::Error);
        return;
    case TInstallStatus::NoRelease:
        host_.ShowMessage(kInstallTitle,
                          QStringLiteral("The downloaded archive holds no VLC %1 release for this system (no folder "
                                         "\"vlc-%1\" with the libVLC libraries).\r\n\r\nNothing was installed; the "
                                         "library folder was left as it was:\r\n%2\r\n\r\n%3")
                              .arg(version, folder, QString::fromLatin1(kSystemVlcAdvice)),
                          TMessageIcon::Error);
        return;
    case TInstallStatus::CopyFailed:
        ShowInstallError(QStringLiteral("The VLC %1 libraries could not be copied.").arg(version));
        return;
    case TInstallStatus::ReplaceFailed:
        host_.ShowMessage(kInstallTitle,
                          QStringLiteral("The library folder could not be replaced; it was left as it was:\r\n%1")
                              .arg(folder),
                          TMessageIcon::Error);
        return;
    }
}

void TFaldrin_Install_Form::BreakOff(int mode) {
    if (mode != kWaitModeDownloading && mode != kWaitModeUnpacking && mode != kWaitModePreparing) return;
    // The process ends at once, whatever the threads do; its working folder goes first.
    EndRun();
    host_.EndProcess();
}

void TFaldrin_Install_Form::Cancel_TBClick() { close(); }

void TFaldrin_Install_Form::Help_TBClick() { app::ShowHtmlHelp(helpContext_, helpFile_); }

void TFaldrin_Install_Form::closeEvent(QCloseEvent* event) {
    EndWorkers();
    QWidget::closeEvent(event);
}

void TFaldrin_Install_Form::EndWorkers() {
    if (!Busy()) return;
    InstallerLog(kLogName, "closed while busy: the download or extraction is stopped, nothing is installed");
    // Their destructors ask the threads to end; a completion already posted finds no receiver.
    download_.reset();
    unzip_.reset();
    run_.reset();
    wait_.EndWait();
}

}  // namespace hollarin
