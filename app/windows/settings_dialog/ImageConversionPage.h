// The "Image Conversion" page of the settings dialog: conversion of dropped BMP files to JPG or PNG
// with their compression, and of SVG files to PNG through the Java rasterizer. The browse buttons write
// their path into the settings at once; the rest is read back by StoreTo when the dialog closes with OK.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include "engine/settings/settings.h"

namespace app {

class IFileChooser;

class TImageConversionPage : public QWidget {
public:
    explicit TImageConversionPage(IFileChooser& chooser, QWidget* parent = nullptr);

    void LoadFrom(const engine::TSettings& settings);
    void StoreTo(engine::TSettings& settings) const;

    void JavaPath_TBClick();
    void BatikPath_TBClick();

    QCheckBox* BmpConvAct_CB;
    QRadioButton* Bmp2Jpg_CB;
    QRadioButton* Bmp2Png_CB;
    QSpinBox* PngComp_SpinEdit;
    QSpinBox* JpgComp_SpinEdit;
    QCheckBox* Svg2Png_CB;
    QLabel* Java_Label;
    QPushButton* JavaPath_TB;
    QLabel* BatikPath_Label;
    QPushButton* BatikPath_TB;

private:
    void ShowPath(QLabel& label, const std::string& path);

    IFileChooser& chooser_;
};

}  // namespace app
