// The "Image Snapshot" tab of the capture-service editor: how often and in which format the snapshot
// is written, its compression, and whether it goes to the image archive (whose limit and folder the
// program settings give, shown here).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>

namespace engine {
struct TScreenCaptureParams;
}

namespace app {

constexpr int kArchivePathWidthPx = 370;

class TImageSnapshotPage : public QWidget {
public:
    explicit TImageSnapshotPage(QWidget* parent = nullptr);

    // A new service: PNG every 5 s, the program's compressions, no archive.
    void InitNew();
    void LoadFrom(const engine::TScreenCaptureParams& p);
    void StoreTo(engine::TScreenCaptureParams& p) const;

    QSpinBox* ImgFreq_SpinEdit;
    QComboBox* ImgFormat_ComboBox;
    QSpinBox* PngComp_SpinEdit;
    QSpinBox* JpgComp_SpinEdit;
    QCheckBox* Archive_CB;
    QLabel* Limit_Panel;
    QLabel* ArchPath_Label;

private:
    void ShowArchiveSettings();
};

}  // namespace app
