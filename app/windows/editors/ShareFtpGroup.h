// The share editor's "FTP Upload" part: the mirror of the share on an FTP server (host, login, folder,
// upload frequency) and the check of those settings, whose lines the FTP log window shows.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

struct TShareEditorContext;
class TFtpLog_Form;

constexpr int kMinFtpUploadFreqS = 1;
constexpr int kMaxFtpUploadFreqS = 60;

class TShareFtpGroup : public QGroupBox {
public:
    // context and log outlive the group.
    TShareFtpGroup(const TShareEditorContext& context, TFtpLog_Form& log, QWidget* parent = nullptr);

    void LoadFrom(const engine::TCaptureStreamer& share);
    void StoreTo(engine::TCaptureStreamer& share) const;
    // The host folder as it is stored: written back into its field.
    void NormalizeHostDir();
    // Runs the check against the server with the log window up; the editor waits for the log to close.
    void CheckFtp_TBClick();

    QCheckBox* Ftp_CB;
    QCheckBox* CheckBox1;
    QLineEdit* Host_Edit;
    QLineEdit* User_Edit;
    QLineEdit* Pw_Edit;
    QLineEdit* HostDir_Edit;
    QToolButton* Computer_TB;
    QSpinBox* ImgFreq_SpinEdit;
    QToolButton* CheckFtp_TB;

private:
    const TShareEditorContext& context_;
    TFtpLog_Form& log_;
};

}  // namespace app
