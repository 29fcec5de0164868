// The "Time Display" tab of the capture-service editor: the time stamped on the picture, with its
// place, font, colours and background.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

#include "components/Color.h"

namespace engine {
struct TScreenCaptureParams;
}

namespace app {

// The colour a colour field shows (0x00BBGGRR), kept with the field.
components::TColor ColorOf(const QPushButton& picker);
void SetColorOf(QPushButton& picker, components::TColor color);

class TTimeDisplayPage : public QWidget {
public:
    explicit TTimeDisplayPage(QWidget* parent = nullptr);

    // A new service: top left, in bold Arial, yellow on navy.
    void InitNew();
    void LoadFrom(const engine::TScreenCaptureParams& p);
    void StoreTo(engine::TScreenCaptureParams& p) const;

    QCheckBox* ImgDispAct_CB;
    QComboBox* Pos_ComboBox;
    QComboBox* FontName_ComboBox;
    QSpinBox* FontSize_SpinEdit;
    QPushButton* Font_ColorPicker;  // its colour: ColorOf / SetColorOf
    QCheckBox* Bold_CB;
    QPushButton* Bkgnd_ColorPicker;
    QCheckBox* Transparent_CB;

private:
    // Offers the colour dialog over the field; a chosen colour becomes the field's.
    void PickColor(QPushButton& picker);
};

}  // namespace app
