#include "app/windows/settings_dialog/ImageConversionPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/windows/base/EditorControls.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/base/PathEllipsis.h"
#include "app/windows/settings_dialog/GeneralSettingsPage.h"
#include "engine/settings/settings_store.h"
#include "engine/util/path_utils.h"

namespace app {

TImageConversionPage::TImageConversionPage(IFileChooser& chooser, QWidget* parent) : QWidget(parent), chooser_(chooser) {
    auto* bmp = new QGroupBox(tr("BMP"), this);
    BmpConvAct_CB = new QCheckBox(tr("Active"), bmp);
    Bmp2Jpg_CB = new QRadioButton(tr("BMP to JPG"), bmp);  // one group: the two exclude each other
    Bmp2Png_CB = new QRadioButton(tr("BMP to PNG"), bmp);
    PngComp_SpinEdit = new TSpinEdit(bmp);
    SetupSpin(*PngComp_SpinEdit, 1, 9);
    JpgComp_SpinEdit = new TSpinEdit(bmp);
    SetupSpin(*JpgComp_SpinEdit, 5, 100, 5);
    auto* bmpLayout = new QGridLayout(bmp);
    bmpLayout->addWidget(BmpConvAct_CB, 0, 0);
    bmpLayout->addWidget(Bmp2Jpg_CB, 1, 0);
    bmpLayout->addWidget(Bmp2Png_CB, 2, 0);
    bmpLayout->addWidget(new QLabel(tr("Image Compression"), bmp), 0, 1, 1, 3);
    bmpLayout->addWidget(new QLabel(tr("PNG "), bmp), 1, 1);
    bmpLayout->addWidget(PngComp_SpinEdit, 1, 2);
    bmpLayout->addWidget(new QLabel(tr("JPG "), bmp), 2, 1);
    bmpLayout->addWidget(JpgComp_SpinEdit, 2, 2);
    bmpLayout->addWidget(new QLabel(QStringLiteral("%"), bmp), 2, 3);

    auto* svg = new QGroupBox(tr("SVG"), this);
    Svg2Png_CB = new QCheckBox(tr("SVG to PNG"), svg);
    Java_Label = new QLabel(svg);
    Java_Label->setFixedWidth(kSettingsPathLabelWidthPx);
    JavaPath_TB = new QPushButton(QStringLiteral("..."), svg);
    BatikPath_Label = new QLabel(svg);
    BatikPath_Label->setFixedWidth(kSettingsPathLabelWidthPx);
    BatikPath_TB = new QPushButton(QStringLiteral("..."), svg);
    auto* svgLayout = new QGridLayout(svg);
    svgLayout->addWidget(Svg2Png_CB, 0, 0, 1, 2);
    svgLayout->addWidget(new QLabel(tr("Path to Java.Exe"), svg), 1, 0, 1, 2);
    svgLayout->addWidget(Java_Label, 2, 0);
    svgLayout->addWidget(JavaPath_TB, 2, 1);
    svgLayout->addWidget(new QLabel(tr("File batik-rasterizer _xxx_.jar"), svg), 3, 0, 1, 2);
    svgLayout->addWidget(BatikPath_Label, 4, 0);
    svgLayout->addWidget(BatikPath_TB, 4, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bmp);
    layout->addWidget(svg);
    layout->addStretch(1);

    connect(JavaPath_TB, &QPushButton::clicked, this, [this] { JavaPath_TBClick(); });
    connect(BatikPath_TB, &QPushButton::clicked, this, [this] { BatikPath_TBClick(); });
}

void TImageConversionPage::ShowPath(QLabel& label, const std::string& path) {
    const QString text = QString::fromStdString(path);
    label.setText(ShortenPathForDisplay(text, label.fontMetrics(), kSettingsPathLabelWidthPx));
    label.setToolTip(text);
}

void TImageConversionPage::LoadFrom(const engine::TSettings& settings) {
    BmpConvAct_CB->setChecked(settings.BmpConvAct);
    // The pair may come with neither set; exclusive buttons could not both be cleared. With both set
    // PNG wins, as in the conversion itself.
    Bmp2Jpg_CB->setAutoExclusive(false);
    Bmp2Png_CB->setAutoExclusive(false);
    Bmp2Jpg_CB->setChecked(settings.Bmp2Jpg && !settings.Bmp2Png);
    Bmp2Png_CB->setChecked(settings.Bmp2Png);
    Bmp2Jpg_CB->setAutoExclusive(true);
    Bmp2Png_CB->setAutoExclusive(true);
    PngComp_SpinEdit->setValue(settings.PngComp);
    JpgComp_SpinEdit->setValue(settings.JpgComp);
    Svg2Png_CB->setChecked(settings.Svg2Png);
    ShowPath(*Java_Label, settings.JavaDir);
    ShowPath(*BatikPath_Label, settings.BatikDir);
}

void TImageConversionPage::StoreTo(engine::TSettings& settings) const {
    settings.PngComp = PngComp_SpinEdit->value();
    settings.JpgComp = JpgComp_SpinEdit->value();
    settings.BmpConvAct = BmpConvAct_CB->isChecked();
    settings.Bmp2Jpg = Bmp2Jpg_CB->isChecked();
    settings.Bmp2Png = Bmp2Png_CB->isChecked();
    settings.Svg2Png = Svg2Png_CB->isChecked();
}

void TImageConversionPage::JavaPath_TBClick() {
    std::string folder = engine::Settings()->JavaDir;
    const bool chosen = engine::BrowseForFolder("Select Java-Directory", "", folder, chooser_);
    engine::UpdateSettings([&](engine::TSettings& s) {
        if (chosen) s.JavaDir = folder;
        if (!s.JavaDir.empty()) s.JavaDir = engine::IncludeTrailingPathDelimiter(s.JavaDir);
    });
    ShowPath(*Java_Label, engine::Settings()->JavaDir);
}

void TImageConversionPage::BatikPath_TBClick() {
    const auto file = chooser_.OpenFile(this, "batik-rasterizer", engine::ExtractFilePath(engine::Settings()->BatikDir));
    if (!file) return;
    engine::UpdateSettings([&](engine::TSettings& s) { s.BatikDir = *file; });
    ShowPath(*BatikPath_Label, *file);
}

}  // namespace app
