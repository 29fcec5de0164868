#include "app/windows/editors/ImageSnapshotPage.h"

#include <QFormLayout>
#include <memory>

#include "app/windows/base/EditorControls.h"
#include "app/windows/base/PathEllipsis.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/settings/settings_store.h"

namespace app {

namespace {
constexpr int kNewImageFreqS = 5;
}

TImageSnapshotPage::TImageSnapshotPage(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    ImgFreq_SpinEdit = MakeSpinEdit(this, 1, 60);
    ImgFormat_ComboBox = MakeNamedCombo(this, "ImgFormat_ComboBox");
    PngComp_SpinEdit = MakeSpinEdit(this, 1, 9);
    JpgComp_SpinEdit = MakeSpinEdit(this, 5, 100, 5);
    Archive_CB = new QCheckBox(QStringLiteral("Image Archive"), this);
    Limit_Panel = new QLabel(this);
    Limit_Panel->setObjectName(QStringLiteral("Limit_Panel"));
    ArchPath_Label = new QLabel(this);
    form->addRow(QStringLiteral("Frequency"), ImgFreq_SpinEdit);
    form->addRow(QStringLiteral("Image Format"), ImgFormat_ComboBox);
    form->addRow(QStringLiteral("PNG "), PngComp_SpinEdit);
    form->addRow(QStringLiteral("JPG "), JpgComp_SpinEdit);
    form->addRow(Archive_CB);
    form->addRow(QStringLiteral("Limit"), Limit_Panel);
    form->addRow(QStringLiteral("Archive-Path"), ArchPath_Label);
}

void TImageSnapshotPage::InitNew() {
    FillChoices(*ImgFormat_ComboBox, {{"PNG", 0}, {"JPG", 1}, {"BMP", 2}});
    SelectChoice(*ImgFormat_ComboBox, 0);
    ImgFreq_SpinEdit->setValue(kNewImageFreqS);
    const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
    PngComp_SpinEdit->setValue(settings->PngComp);
    JpgComp_SpinEdit->setValue(settings->JpgComp);
    Archive_CB->setChecked(false);
    ShowArchiveSettings();
}

void TImageSnapshotPage::ShowArchiveSettings() {
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
    ArchPath_Label->setText(ShortenPathForDisplay(QString::fromStdString(settings->ArchiveDir),
                                                  ArchPath_Label->fontMetrics(), kArchivePathWidthPx));
}

void TImageSnapshotPage::LoadFrom(const engine::TScreenCaptureParams& p) {
    ImgFreq_SpinEdit->setValue(p.capImageFreq);
    SelectChoice(*ImgFormat_ComboBox, p.capImageFormat);
    PngComp_SpinEdit->setValue(p.capImagePngComp);
    JpgComp_SpinEdit->setValue(p.capImageJpgComp);
    Archive_CB->setChecked(p.capImagebArchive);
    ShowArchiveSettings();
}

void TImageSnapshotPage::StoreTo(engine::TScreenCaptureParams& p) const {
    p.capImageFreq = ImgFreq_SpinEdit->value();
    p.capImageFormat = static_cast<uint8_t>(ChoiceNumber(*ImgFormat_ComboBox, p.capImageFormat));
    p.capImagePngComp = PngComp_SpinEdit->value();
    p.capImageJpgComp = JpgComp_SpinEdit->value();
    p.capImagebArchive = Archive_CB->isChecked();
}

}  // namespace app
