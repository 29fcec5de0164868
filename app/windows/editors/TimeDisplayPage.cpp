#include "app/windows/editors/TimeDisplayPage.h"

#include <QColorDialog>
#include <QFormLayout>

#include "app/windows/base/EditorControls.h"
#include "app/windows/base/ModalRunner.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "platform/util/utf8_text.h"

namespace app {

namespace {
constexpr components::TColor kNewFontColor = 0x0000FFFF;
constexpr components::TColor kNewBackgroundColor = 0x00800000;
}  // namespace

components::TColor ColorOf(const QPushButton& picker) { return picker.property("color").toUInt(); }

void SetColorOf(QPushButton& picker, components::TColor color) {
    picker.setProperty("color", color);
    picker.setStyleSheet(QStringLiteral("background: rgb(%1,%2,%3);")
                             .arg(color & 0xFF)
                             .arg((color >> 8) & 0xFF)
                             .arg((color >> 16) & 0xFF));
}

TTimeDisplayPage::TTimeDisplayPage(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    ImgDispAct_CB = new QCheckBox(QStringLiteral("Active"), this);
    Pos_ComboBox = MakeNamedCombo(this, "Pos_ComboBox");
    FontName_ComboBox = MakeNamedCombo(this, "FontName_ComboBox");
    FontSize_SpinEdit = MakeSpinEdit(this, 7, 70);
    Font_ColorPicker = new QPushButton(this);
    Bold_CB = new QCheckBox(QStringLiteral("bold"), this);
    Bkgnd_ColorPicker = new QPushButton(this);
    Transparent_CB = new QCheckBox(QStringLiteral("Transparent"), this);
    form->addRow(ImgDispAct_CB);
    form->addRow(QStringLiteral("Position"), Pos_ComboBox);
    form->addRow(QStringLiteral("Font-Name"), FontName_ComboBox);
    form->addRow(QStringLiteral("Font-Size"), FontSize_SpinEdit);
    form->addRow(QStringLiteral("Font-Color"), Font_ColorPicker);
    form->addRow(Bold_CB);
    form->addRow(QStringLiteral("Background"), Bkgnd_ColorPicker);
    form->addRow(Transparent_CB);
    for (QPushButton* picker : {Font_ColorPicker, Bkgnd_ColorPicker}) {
        SetColorOf(*picker, 0);
        connect(picker, &QPushButton::clicked, this, [this, picker] { PickColor(*picker); });
    }
}

void TTimeDisplayPage::PickColor(QPushButton& picker) {
    const components::TColor color = ColorOf(picker);
    QColorDialog dialog(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (RunModal(dialog) != kModalOk) return;
    const QColor chosen = dialog.selectedColor();
    SetColorOf(picker, static_cast<components::TColor>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16)));
}

void TTimeDisplayPage::InitNew() {
    FillChoices(*Pos_ComboBox, {{"Top-Left", 1}, {"Top-Right", 2}, {"Bottom-Left", 3}, {"Bottom-Right", 4}});
    SelectChoice(*Pos_ComboBox, 1);
    FontName_ComboBox->clear();
    FontName_ComboBox->addItems({QStringLiteral("Arial"), QStringLiteral("Courier New"), QStringLiteral("Verdana"),
                                 QStringLiteral("Tahoma")});
    FontName_ComboBox->setCurrentIndex(0);
    SetColorOf(*Bkgnd_ColorPicker, kNewBackgroundColor);
    SetColorOf(*Font_ColorPicker, kNewFontColor);
    Bold_CB->setChecked(true);
}

void TTimeDisplayPage::LoadFrom(const engine::TScreenCaptureParams& p) {
    ImgDispAct_CB->setChecked(p.capTimeDisplaybAct);
    SelectChoice(*Pos_ComboBox, p.capTimeDisplayiPos);
    FontName_ComboBox->setCurrentIndex(FontName_ComboBox->findText(QString::fromStdString(p.capTimeDisplaysFont)));
    FontSize_SpinEdit->setValue(p.capTimeDisplayiSize);
    SetColorOf(*Font_ColorPicker, static_cast<components::TColor>(p.capTimeDisplayiColor));
    Bold_CB->setChecked(p.capTimeDisplaybBold);
    SetColorOf(*Bkgnd_ColorPicker, static_cast<components::TColor>(p.capTimeDisplaysiBkgnd));
    Transparent_CB->setChecked(p.capTimeDisplaysbTransp);
}

void TTimeDisplayPage::StoreTo(engine::TScreenCaptureParams& p) const {
    p.capTimeDisplaybAct = ImgDispAct_CB->isChecked();
    p.capTimeDisplayiPos = static_cast<uint8_t>(ChoiceNumber(*Pos_ComboBox, p.capTimeDisplayiPos));
    p.capTimeDisplaysFont = platform::Utf8Left(FontName_ComboBox->currentText().toStdString(),
                                             engine::kMaxTimeDisplayFontLength);
    p.capTimeDisplayiSize = FontSize_SpinEdit->value();
    p.capTimeDisplayiColor = static_cast<int32_t>(ColorOf(*Font_ColorPicker));
    p.capTimeDisplaybBold = Bold_CB->isChecked();
    p.capTimeDisplaysiBkgnd = static_cast<int32_t>(ColorOf(*Bkgnd_ColorPicker));
    p.capTimeDisplaysbTransp = Transparent_CB->isChecked();
}

}  // namespace app
