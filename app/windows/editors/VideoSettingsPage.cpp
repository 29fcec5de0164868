#include "app/windows/editors/VideoSettingsPage.h"

#include <QEvent>
#include <QFormLayout>
#include <QVBoxLayout>
#include <initializer_list>
#include <string>

#include "app/windows/base/EditorControls.h"
#include "app/windows/editors/NumberFieldText.h"
#include "engine/capture/settings/CaptureRect.h"
#include "engine/capture/settings/ScreenCaptureParams.h"

namespace app {

namespace {

constexpr int kNewBitrate = 1000;
constexpr int kNewFrameRate = 25;
constexpr int kNewAudioBitrate = 128;

}  // namespace

TVideoSettingsPage::TVideoSettingsPage(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    Video_GB = new QGroupBox(QStringLiteral("Multiplexing + Transcoding"), this);
    auto* form = new QFormLayout(Video_GB);
    Deccoder_ComboBox = MakeNamedCombo(Video_GB, "Deccoder_ComboBox");
    Scale_ComboBox = MakeNamedCombo(Video_GB, "Scale_ComboBox");
    BitRate_SpinEdit = MakeSpinEdit(Video_GB, engine::kMinVideoBitrate, engine::kMaxVideoBitrate, 50);
    Frame_SpinEdit = MakeSpinEdit(Video_GB, engine::kMinFrameRate, engine::kMaxFrameRate);
    PreScaling_CB = new QCheckBox(QStringLiteral("pre-scaling"), Video_GB);
    form->addRow(QStringLiteral("Encoder"), Deccoder_ComboBox);
    form->addRow(QStringLiteral("Scaling"), Scale_ComboBox);
    form->addRow(QStringLiteral("Bitrate [kBit/s]"), BitRate_SpinEdit);
    form->addRow(QStringLiteral("FrameRate [fps]"), Frame_SpinEdit);
    form->addRow(PreScaling_CB);
    // The audio encoding is kept as loaded: its panel is never shown.
    Audio_Panel = new QWidget(Video_GB);
    auto* audio = new QFormLayout(Audio_Panel);
    AudDecoder_ComboBox = MakeNamedCombo(Audio_Panel, "AudDecoder_ComboBox");
    AudioBitrate_SpinEdit = MakeSpinEdit(Audio_Panel, 16, 512, 8);
    audio->addRow(AudDecoder_ComboBox);
    audio->addRow(AudioBitrate_SpinEdit);
    Audio_Panel->hide();
    Mux_Panel = new QWidget(Video_GB);
    auto* mux = new QFormLayout(Mux_Panel);
    Mux_ComboBox = MakeNamedCombo(Mux_Panel, "Mux_ComboBox");
    VidPid_Edit = MakeNamedEdit(Mux_Panel, "VidPid_Edit");
    AudPid_Edit = MakeNamedEdit(Mux_Panel, "AudPid_Edit");
    PmtPid_Edit = MakeNamedEdit(Mux_Panel, "PmtPid_Edit");
    mux->addRow(QStringLiteral("Multiplex"), Mux_ComboBox);
    mux->addRow(QStringLiteral("Video PID"), VidPid_Edit);
    mux->addRow(QStringLiteral("Audio PID"), AudPid_Edit);
    mux->addRow(QStringLiteral("PMT PID"), PmtPid_Edit);
    for (QLineEdit* pid : {VidPid_Edit, AudPid_Edit, PmtPid_Edit}) {
        InstallKeyFilter(*pid, kPidKeys);
        pid->installEventFilter(this);  // the double click converts
    }
    form->addRow(Mux_Panel);
    layout->addWidget(Video_GB);
    layout->addStretch();
}

void TVideoSettingsPage::InitNew() {
    PreScaling_CB->setChecked(false);
    FillChoices(*Deccoder_ComboBox, {{"none", engine::kVidCodecNone}, {"orig", engine::kVidCodecNoOption},
                                     {"H.264", engine::kVidCodecH264}, {"MP4", engine::kVidCodecMp4v},
                                     {"VP8", engine::kVidCodecVp8}, {"H.265", engine::kVidCodecH265}});
    SelectChoice(*Deccoder_ComboBox, engine::kVidCodecH264);
    FillChoices(*AudDecoder_ComboBox, {{"none", engine::kAudCodecNone}, {"orig", 1}, {"MP3", engine::kAudCodecMp3}});
    SelectChoice(*AudDecoder_ComboBox, engine::kAudCodecNone);
    BitRate_SpinEdit->setValue(kNewBitrate);
    Frame_SpinEdit->setValue(kNewFrameRate);
    AudioBitrate_SpinEdit->setValue(kNewAudioBitrate);
    FillChoices(*Mux_ComboBox, {{"TS", 0}});
    SelectChoice(*Mux_ComboBox, 0);
    VidPid_Edit->setText(QStringLiteral("101"));
    AudPid_Edit->setText(QStringLiteral("102"));
    PmtPid_Edit->setText(QStringLiteral("100"));
}

void TVideoSettingsPage::ApplyMethod(int method) {
    PreScaling_CB->setVisible(method == engine::kCapEncoderDirectX);
    Scale_ComboBox->clear();
    if (method == engine::kCapEncoderDirectX) {
        Scale_ComboBox->addItem(QStringLiteral("2.0"), 12);
        Scale_ComboBox->addItem(QStringLiteral("1.5"), 13);
    }
    for (uint8_t scale = 0; scale <= 11; ++scale)
        Scale_ComboBox->addItem(QString::fromStdString(engine::ScaleIndexToStr(scale)), scale);
    SelectChoice(*Scale_ComboBox, 0);
}

void TVideoSettingsPage::SetMuxEditable(bool editable) {
    Mux_Panel->setEnabled(editable);
    for (QWidget* field : std::initializer_list<QWidget*>{Mux_ComboBox, VidPid_Edit, AudPid_Edit, PmtPid_Edit})
        SetFieldColor(*field, editable ? kFieldWhite : kFieldGrey);
}

void TVideoSettingsPage::LoadFrom(const engine::TScreenCaptureParams& p) {
    SelectChoice(*Deccoder_ComboBox, p.vidCodec);
    SelectChoice(*Scale_ComboBox, p.vidScale);
    BitRate_SpinEdit->setValue(p.vidBitrate);
    Frame_SpinEdit->setValue(p.vidFrameRate);
    SelectChoice(*AudDecoder_ComboBox, p.audCodec);
    AudioBitrate_SpinEdit->setValue(p.audBitrate);
    PreScaling_CB->setChecked(p.bPreScale);
    VidPid_Edit->setText(QString::number(p.capVidPid));
    AudPid_Edit->setText(QString::number(p.capAudPid));
    PmtPid_Edit->setText(QString::number(p.capPmtPid));
}

void TVideoSettingsPage::StoreTo(engine::TScreenCaptureParams& p) const {
    p.vidCodec = static_cast<uint8_t>(ChoiceNumber(*Deccoder_ComboBox, p.vidCodec));
    p.vidScale = static_cast<uint8_t>(ChoiceNumber(*Scale_ComboBox, p.vidScale));
    p.vidBitrate = BitRate_SpinEdit->value();
    p.vidFrameRate = Frame_SpinEdit->value();
    p.audCodec = static_cast<uint8_t>(ChoiceNumber(*AudDecoder_ComboBox, p.audCodec));
    p.audBitrate = AudioBitrate_SpinEdit->value();
    p.bPreScale = PreScaling_CB->isChecked();
    p.capVidPid = ReadNumberField(VidPid_Edit->text().toStdString());
    p.capAudPid = ReadNumberField(AudPid_Edit->text().toStdString());
    p.capPmtPid = ReadNumberField(PmtPid_Edit->text().toStdString());
}

void TVideoSettingsPage::PidDoubleClick(QLineEdit& field) {
    field.setText(QString::fromStdString(TogglePidText(field.text().toStdString())));
}

bool TVideoSettingsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        for (QLineEdit* pid : {VidPid_Edit, AudPid_Edit, PmtPid_Edit})
            if (watched == pid) {
                PidDoubleClick(*pid);
                return true;
            }
    return QWidget::eventFilter(watched, event);
}

}  // namespace app
