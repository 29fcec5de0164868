#include "app/windows/base/EditorControls.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>

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

QString TSpinEdit::Typed(const QString& input) const {
    QString typed = input;
    if (!prefix().isEmpty() && typed.startsWith(prefix())) typed.remove(0, prefix().size());
    if (!suffix().isEmpty() && typed.endsWith(suffix())) typed.chop(suffix().size());
    return typed.trimmed();
}

QValidator::State TSpinEdit::validate(QString& input, int& pos) const {
    if (QSpinBox::validate(input, pos) == QValidator::Acceptable) return QValidator::Acceptable;
    const QString typed = Typed(input);
    const QString decimalPoint = locale().decimalPoint();
    for (const QChar c : typed)
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') && !decimalPoint.contains(c))
            return QValidator::Invalid;
    return QValidator::Intermediate;  // settled by fixup when the field is left
}

void TSpinEdit::fixup(QString& input) const {
    bool isNumber = false;
    const qlonglong typed = Typed(input).toLongLong(&isNumber);
    const int value = isNumber ? int(std::clamp<qlonglong>(typed, minimum(), maximum())) : minimum();
    input = prefix() + textFromValue(value) + suffix();
}

void SetupSpin(QSpinBox& spin, int minimum, int maximum, int step) {
    spin.setRange(minimum, maximum);
    spin.setSingleStep(step);
}

QSpinBox* MakeSpinEdit(QWidget* parent, int minimum, int maximum, int step) {
    auto* spin = new TSpinEdit(parent);
    SetupSpin(*spin, minimum, maximum, step);
    return spin;
}

QLineEdit* MakeNamedEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox* MakeNamedCombo(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QToolButton* MakeToolButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    return button;
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
