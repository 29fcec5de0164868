// The "Video Settings" tab of the capture-service editor: the video encoding (codec, scaling, bit and
// frame rate, pre-scaling), the audio encoding kept as loaded, and the multiplexer with its PIDs.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QWidget>

namespace engine {
struct TScreenCaptureParams;
}

namespace app {

class TVideoSettingsPage : public QWidget {
public:
    explicit TVideoSettingsPage(QWidget* parent = nullptr);

    // A new service: H.264 at 1000 kbit/s and 25 fps, no audio, TS with the PIDs 101, 102 and 100.
    void InitNew();
    // The scalings the capture method offers (none selected but 1.0); pre-scaling only for DirectX.
    void ApplyMethod(int method);
    // The multiplexer's fields are greyed while a UDP input brings its own stream.
    void SetMuxEditable(bool editable);
    void LoadFrom(const engine::TScreenCaptureParams& p);
    void StoreTo(engine::TScreenCaptureParams& p) const;
    // A double click converts a PID between decimal and hexadecimal.
    void PidDoubleClick(QLineEdit& field);

    QGroupBox* Video_GB;
    QComboBox* Deccoder_ComboBox;
    QComboBox* Scale_ComboBox;
    QSpinBox* BitRate_SpinEdit;
    QSpinBox* Frame_SpinEdit;
    QCheckBox* PreScaling_CB;
    QWidget* Audio_Panel;
    QComboBox* AudDecoder_ComboBox;
    QSpinBox* AudioBitrate_SpinEdit;
    QWidget* Mux_Panel;
    QComboBox* Mux_ComboBox;
    QLineEdit* VidPid_Edit;
    QLineEdit* AudPid_Edit;
    QLineEdit* PmtPid_Edit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace app
