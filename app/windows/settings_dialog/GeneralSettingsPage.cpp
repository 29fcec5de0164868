#include "app/windows/settings_dialog/GeneralSettingsPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/settings/app_globals.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/base/PathEllipsis.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/free_space.h"
#include "engine/util/number_strings.h"
#include "engine/util/path_utils.h"

namespace app {
namespace {

constexpr size_t kFreeSpaceMaxDigits = 9;
constexpr int kFreeSpacePadWidth = 6;
constexpr int kFreeSpaceGroupSize = 3;
constexpr uint64_t kBytesPerMb = 1024ull * 1024ull;
constexpr components::TColor kEnabledLabelColor = 0x800000;   // navy
constexpr components::TColor kDisabledLabelColor = 0x808080;  // grey

void SetTextColor(QLabel& label, components::TColor color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    label.setPalette(palette);
}

// One row of a grid: caption, field and unit.
void AddFieldRow(QGridLayout& grid, int row, QLabel* caption, QWidget* field, const QString& unit) {
    grid.addWidget(caption, row, 0);
    grid.addWidget(field, row, 1);
    if (!unit.isEmpty()) grid.addWidget(new QLabel(unit, field->parentWidget()), row, 2);
}

}  // namespace

std::string FreeSpaceText(std::optional<uint64_t> freeBytes, char separator) {
    if (!freeBytes) return "n/a";
    const std::string mb = std::to_string(*freeBytes / kBytesPerMb).substr(0, kFreeSpaceMaxDigits);
    return engine::GroupNumStr(engine::ZeroPadStr(mb, kFreeSpacePadWidth), kFreeSpaceGroupSize, separator);
}

TGeneralSettingsPage::TGeneralSettingsPage(IFileChooser& chooser, std::function<void()> downloadVlc, QWidget* parent)
    : QWidget(parent), chooser_(chooser), downloadVlc_(std::move(downloadVlc)) {
    auto* log = new QGroupBox(tr("Log Options"), this);
    LogFile_Label = new QLabel(log);
    LogFile_Label->setFixedWidth(kSettingsPathLabelWidthPx);
    LogPath_SB = new QPushButton(QStringLiteral("..."), log);
    Error_CB = new QCheckBox(tr("Errors"), log);
    Warning_CB = new QCheckBox(tr("Warnings"), log);
    Info_CB = new QCheckBox(tr("Information"), log);
    ShowLog_CB = new QCheckBox(tr("Show Log"), log);
    auto* logLayout = new QGridLayout(log);
    logLayout->addWidget(new QLabel(tr("Logfile Path"), log), 0, 0);
    logLayout->addWidget(LogFile_Label, 0, 1, 1, 3);
    logLayout->addWidget(LogPath_SB, 0, 4);
    logLayout->addWidget(new QLabel(tr("Log-Entries"), log), 1, 0);
    logLayout->addWidget(Error_CB, 1, 1);
    logLayout->addWidget(Warning_CB, 1, 2);
    logLayout->addWidget(Info_CB, 1, 3);
    logLayout->addWidget(ShowLog_CB, 2, 1);

    Snmp_GroupBox = new QGroupBox(tr("SNMP"), this);
    SnmpAct_CB = new QCheckBox(tr("Activate SNMP Agent Connection"), Snmp_GroupBox);
    (new QVBoxLayout(Snmp_GroupBox))->addWidget(SnmpAct_CB);
    Snmp_GroupBox->hide();  // the agent connection is never offered

    auto* options = new QGroupBox(tr("Options"), this);
    Center_CB = new QCheckBox(tr("center when maximize"), options);
    Notify_CB = new QCheckBox(tr("Notification Icon"), options);
    Screensaver_CB = new QCheckBox(tr("prevent Screensaver (KSA)"), options);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(Center_CB);
    optionsLayout->addWidget(Notify_CB);
    optionsLayout->addWidget(Screensaver_CB);

    auto* archive = new QGroupBox(tr("Archive"), this);
    ArchiveFile_Label = new QLabel(archive);
    ArchiveFile_Label->setFixedWidth(kSettingsPathLabelWidthPx);
    ArchivePath_TB = new QPushButton(QStringLiteral("..."), archive);
    NoLimit_RB = new QRadioButton(tr("No Limit"), archive);
    SizeLimit_RB = new QRadioButton(tr("Size Limit"), archive);
    FileLimit_RB = new QRadioButton(tr("File Limit"), archive);
    auto* limitGroup = new QButtonGroup(archive);
    limitGroup->addButton(NoLimit_RB);
    limitGroup->addButton(SizeLimit_RB);
    limitGroup->addButton(FileLimit_RB);
    ArchSize_Label = new QLabel(tr("Size/Archive"), archive);
    ArchSize_SpinEdit = MakeSpinEdit(archive, 1, 10000);
    ArchFile_Label = new QLabel(tr("Files/Archive"), archive);
    ArchFile_SpinEdit = MakeSpinEdit(archive, 1, 100000);
    FreeSpace_Label = new QLabel(archive);
    auto* archiveLayout = new QGridLayout(archive);
    archiveLayout->addWidget(new QLabel(tr("Main-Archive Path"), archive), 0, 0);
    archiveLayout->addWidget(ArchiveFile_Label, 0, 1, 1, 3);
    archiveLayout->addWidget(ArchivePath_TB, 0, 4);
    archiveLayout->addWidget(NoLimit_RB, 1, 0);
    archiveLayout->addWidget(SizeLimit_RB, 1, 1);
    archiveLayout->addWidget(FileLimit_RB, 1, 2);
    AddFieldRow(*archiveLayout, 2, ArchSize_Label, ArchSize_SpinEdit, tr("MB"));
    AddFieldRow(*archiveLayout, 3, ArchFile_Label, ArchFile_SpinEdit, tr("Files"));
    AddFieldRow(*archiveLayout, 4, new QLabel(tr("Free Space"), archive), FreeSpace_Label, tr("MByte"));

    auto* ftp = new QGroupBox(tr("FTP Upload"), this);
    UploadErr_SpinEdit = MakeSpinEdit(ftp, 0, 20);
    FtpDelay_SpinEdit = MakeSpinEdit(ftp, 0, 60);
    auto* ftpLayout = new QGridLayout(ftp);
    AddFieldRow(*ftpLayout, 0, new QLabel(tr("Error Restart Threshold"), ftp), UploadErr_SpinEdit, QString());
    AddFieldRow(*ftpLayout, 1, new QLabel(tr("Delay     (1st upload)"), ftp), FtpDelay_SpinEdit, tr("sec"));

    auto* vlc = new QGroupBox(tr("VLC Version"), this);
    Vlc_Panel = new QLabel(vlc);
    Vlc_Panel->setFrameShape(QFrame::Panel);
    Vlc_Panel->setFrameShadow(QFrame::Sunken);
    BitBtn1 = new QPushButton(tr("Download VLC"), vlc);
    auto* vlcLayout = new QHBoxLayout(vlc);
    vlcLayout->addWidget(Vlc_Panel, 1);
    vlcLayout->addWidget(BitBtn1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(log, 0, 0, 1, 2);
    layout->addWidget(Snmp_GroupBox, 1, 0, 1, 2);
    layout->addWidget(options, 2, 0);
    layout->addWidget(ftp, 2, 1);
    layout->addWidget(archive, 3, 0, 1, 2);
    layout->addWidget(vlc, 4, 0, 1, 2);
    layout->setRowStretch(5, 1);

    connect(LogPath_SB, &QPushButton::clicked, this, [this] { LogPath_SBClick(); });
    connect(ArchivePath_TB, &QPushButton::clicked, this, [this] { ArchivePath_TBClick(); });
    for (QRadioButton* radio : {NoLimit_RB, SizeLimit_RB, FileLimit_RB})
        connect(radio, &QRadioButton::toggled, this, [this] { UpdateArchiveLimitControls(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        if (downloadVlc_) downloadVlc_();
    });
}

void TGeneralSettingsPage::ShowPath(QLabel& label, const std::string& path) {
    const QString text = QString::fromStdString(path);
    label.setText(ShortenPathForDisplay(text, label.fontMetrics(), kSettingsPathLabelWidthPx));
    label.setToolTip(text);
}

void TGeneralSettingsPage::LoadFrom(const engine::TSettings& settings) {
    ShowPath(*LogFile_Label, settings.LogDir);
    Error_CB->setChecked(settings.LogError);
    Warning_CB->setChecked(settings.LogWarning);
    Info_CB->setChecked(settings.LogInfo);
    ShowLog_CB->setChecked(settings.ShowLog);
    SnmpAct_CB->setChecked(settings.SnmpActive);
    Center_CB->setChecked(settings.CenterApp);
    Notify_CB->setChecked(settings.NotifyIcon);
    Screensaver_CB->setChecked(settings.DeactScreenSaver);
    ShowPath(*ArchiveFile_Label, settings.ArchiveDir);
    SizeLimit_RB->setChecked(settings.ArchiveLimit == engine::kArchivePruneBySize);
    FileLimit_RB->setChecked(settings.ArchiveLimit == engine::kArchivePruneByCount);
    NoLimit_RB->setChecked(settings.ArchiveLimit != engine::kArchivePruneBySize && settings.ArchiveLimit != engine::kArchivePruneByCount);
    ArchSize_SpinEdit->setValue(settings.ArchiveSize);
    ArchFile_SpinEdit->setValue(settings.ArchiveFile);
    UploadErr_SpinEdit->setValue(settings.FtpErrThr);
    FtpDelay_SpinEdit->setValue(settings.FtpDelay);
    ShowFreeSpace(settings.ArchiveDir);
    UpdateArchiveLimitControls();
    Vlc_Panel->setText(engine::VlcMissing ? QStringLiteral("n/a") : QString::fromStdString(settings.VlcVer));
}

void TGeneralSettingsPage::StoreTo(engine::TSettings& settings) const {
    settings.SnmpActive = SnmpAct_CB->isChecked();
    settings.ShowLog = ShowLog_CB->isChecked();
    settings.LogError = Error_CB->isChecked();
    settings.LogWarning = Warning_CB->isChecked();
    settings.LogInfo = Info_CB->isChecked();
    settings.CenterApp = Center_CB->isChecked();
    settings.NotifyIcon = Notify_CB->isChecked();
    settings.FtpErrThr = UploadErr_SpinEdit->value();
    settings.FtpDelay = FtpDelay_SpinEdit->value();
    if (NoLimit_RB->isChecked()) settings.ArchiveLimit = engine::kArchiveNoPruning;
    if (SizeLimit_RB->isChecked()) settings.ArchiveLimit = engine::kArchivePruneBySize;
    if (FileLimit_RB->isChecked()) settings.ArchiveLimit = engine::kArchivePruneByCount;
    settings.ArchiveFile = ArchFile_SpinEdit->value();
    settings.ArchiveSize = ArchSize_SpinEdit->value();
    settings.DeactScreenSaver = Screensaver_CB->isChecked();
}

void TGeneralSettingsPage::UpdateArchiveLimitControls() {
    const auto setField = [](QSpinBox& field, QLabel& label, bool enabled) {
        field.setEnabled(enabled);
        SetFieldColor(field, enabled ? kFieldWhite : kFieldGrey);
        SetTextColor(label, enabled ? kEnabledLabelColor : kDisabledLabelColor);
    };
    setField(*ArchSize_SpinEdit, *ArchSize_Label, SizeLimit_RB->isChecked());
    setField(*ArchFile_SpinEdit, *ArchFile_Label, FileLimit_RB->isChecked());
}

void TGeneralSettingsPage::ShowFreeSpace(const std::string& folder) {
    const auto bytes = engine::CurrentFreeSpaceQuery()->FreeBytes(folder);
    FreeSpace_Label->setText(QString::fromStdString(FreeSpaceText(bytes, LocaleSettings().ThousandSeparator)));
}

void TGeneralSettingsPage::LogPath_SBClick() {
    std::string folder = engine::Settings()->LogDir;
    const bool chosen = engine::BrowseForFolder("Select Log-Directory", "", folder, chooser_);
    engine::UpdateSettings([&](engine::TSettings& s) {
        if (chosen) s.LogDir = folder;
        if (!s.LogDir.empty()) s.LogDir = engine::IncludeTrailingPathDelimiter(s.LogDir);
    });
    ShowPath(*LogFile_Label, engine::Settings()->LogDir);
}

void TGeneralSettingsPage::ArchivePath_TBClick() {
    std::string folder = engine::Settings()->ArchiveDir;
    const bool chosen = engine::BrowseForFolder("Select Archive-Directory", "", folder, chooser_);
    engine::UpdateSettings([&](engine::TSettings& s) {
        if (chosen) s.ArchiveDir = folder;
        if (!s.ArchiveDir.empty()) s.ArchiveDir = engine::IncludeTrailingPathDelimiter(s.ArchiveDir);
    });
    ShowPath(*ArchiveFile_Label, engine::Settings()->ArchiveDir);
    ShowFreeSpace(engine::Settings()->ArchiveDir);
}

}  // namespace app
