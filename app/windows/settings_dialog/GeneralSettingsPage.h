// The "General" page of the settings dialog: log options, program options, the archive folder with
// its limit and free space, the FTP upload figures and the libVLC version with its download button.
// The browse buttons write their folder into the settings at once; everything else is read back by
// StoreTo when the dialog closes with OK.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/settings/settings.h"

namespace app {

class IFileChooser;

constexpr int kSettingsPathLabelWidthPx = 390;

// The free-space figure: whole MB (bytes / 1024 / 1024), cut to 9 digits, padded to 6 and grouped by
// threes with separator; "n/a" when the query failed.
std::string FreeSpaceText(std::optional<uint64_t> freeBytes, char separator);

class TGeneralSettingsPage : public QWidget {
public:
    TGeneralSettingsPage(IFileChooser& chooser, std::function<void()> downloadVlc, QWidget* parent = nullptr);

    void LoadFrom(const engine::TSettings& settings);
    void StoreTo(engine::TSettings& settings) const;

    void UpdateArchiveLimitControls();
    // Free space of the file system that holds folder, into FreeSpace_Label.
    void ShowFreeSpace(const std::string& folder);

    void LogPath_SBClick();
    void ArchivePath_TBClick();

    QLabel* LogFile_Label;
    QPushButton* LogPath_SB;
    QCheckBox* Error_CB;
    QCheckBox* Warning_CB;
    QCheckBox* Info_CB;
    QCheckBox* ShowLog_CB;
    QGroupBox* Snmp_GroupBox;
    QCheckBox* SnmpAct_CB;
    QCheckBox* Center_CB;
    QCheckBox* Notify_CB;
    QCheckBox* Screensaver_CB;
    QLabel* ArchiveFile_Label;
    QPushButton* ArchivePath_TB;
    QRadioButton* NoLimit_RB;
    QRadioButton* SizeLimit_RB;
    QRadioButton* FileLimit_RB;
    QLabel* ArchSize_Label;
    QSpinBox* ArchSize_SpinEdit;
    QLabel* ArchFile_Label;
    QSpinBox* ArchFile_SpinEdit;
    QLabel* FreeSpace_Label;
    QSpinBox* UploadErr_SpinEdit;
    QSpinBox* FtpDelay_SpinEdit;
    QLabel* Vlc_Panel;
    QPushButton* BitBtn1;

private:
    void ShowPath(QLabel& label, const std::string& path);

    IFileChooser& chooser_;
    std::function<void()> downloadVlc_;
};

}  // namespace app
