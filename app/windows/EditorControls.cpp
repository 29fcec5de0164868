#include "app/windows/EditorControls.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPalette>
#include <QSpinBox>

namespace app {

void FillChoices(QComboBox& box, std::initializer_list<std::pair<const char*, int>> items) {
    box.clear();
    for (const auto& [text, number] : items) box.addItem(QString::fromUtf8(text), number);
    box.setCurrentIndex(-1);
}

bool SelectChoice(QComboBox& box, int number) {
    const int index = box.findData(number);
    box.setCurrentIndex(index);
    return index >= 0;
}

int ChoiceNumber(const QComboBox& box, int fallback) {
    const QVariant data = box.currentData();
    return data.isValid() ? data.toInt() : fallback;
}

void SetupSpin(QSpinBox& spin, int minimum, int maximum, int step) {
    spin.setRange(minimum, maximum);
    spin.setSingleStep(step);
    // A typed text that is no number falls back to the value before, never outside the range.
    spin.setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void SetFieldColor(QWidget& field, components::TColor color) {
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, components::ToQColor(color));
    // The style's own disabled text is a light grey, hardly readable on the grey of a disabled field.
    palette.setColor(QPalette::Disabled, QPalette::Text, components::ToQColor(kDisabledFieldText));
    field.setPalette(palette);
}

TKeyFilter::TKeyFilter(QString allowed, QObject* parent) : QObject(parent), allowed_(std::move(allowed)) {}

bool TKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool printable = text.size() == 1 && text.at(0).isPrint();
        if (printable && !allowed_.contains(text.at(0))) return true;
    }
    return QObject::eventFilter(watched, event);
}

void InstallKeyFilter(QWidget& field, const QString& allowed) {
    field.installEventFilter(new TKeyFilter(allowed, &field));
}

}  // namespace app
