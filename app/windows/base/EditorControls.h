// Control helpers shared by the editors: choice lists whose items carry the number that is stored,
// spin fields that clamp what is set or typed, the grey background of disabled fields and the key
// filters of typed fields.
#pragma once

#include <QObject>
#include <QSpinBox>
#include <QString>
#include <initializer_list>
#include <utility>

#include "components/Color.h"

class QComboBox;
class QLineEdit;
class QToolButton;
class QWidget;

namespace app {

constexpr components::TColor kFieldWhite = 0xFFFFFF;
constexpr components::TColor kFieldGrey = 0xC0C0C0;
// The text of a disabled field: dark enough to read on the grey (a contrast of about 5.7 to 1).
constexpr components::TColor kDisabledFieldText = 0x404040;

// Replaces the items of box with (text, stored number) pairs and selects none.
void FillChoices(QComboBox& box, std::initializer_list<std::pair<const char*, int>> items);
// Selects the item that carries number; false (and no selection) when none does.
bool SelectChoice(QComboBox& box, int number);
// The number of the selected item; fallback when nothing is selected.
int ChoiceNumber(const QComboBox& box, int fallback);

// The dialogs' spin field. A value set into it is clamped into its range. Digits, signs and the
// decimal point may be typed; when the field loses the focus (or Enter is pressed) a typed number is
// clamped into the range, and a text that is no whole number ("", "+", "1.5", "12-3") reads as the
// minimum.
class TSpinEdit : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    // The typed part of input, without prefix, suffix and surrounding blanks.
    QString Typed(const QString& input) const;
};

// A spin field with its range and step; setValue then keeps every value inside the range.
void SetupSpin(QSpinBox& spin, int minimum, int maximum, int step = 1);
// A new TSpinEdit set up so.
QSpinBox* MakeSpinEdit(QWidget* parent, int minimum, int maximum, int step = 1);

// A line edit, a choice list and a tool button (text, tool tip hint) under their object names.
QLineEdit* MakeNamedEdit(QWidget* parent, const char* name);
QComboBox* MakeNamedCombo(QWidget* parent, const char* name);
QToolButton* MakeToolButton(QWidget* parent, const char* name, const QString& text, const QString& hint = {});

// Background colour of a field (0x00BBGGRR); a disabled field's text stays readable on it.
void SetFieldColor(QWidget& field, components::TColor color);

// Drops every typed character that is not in allowed (backspace and the editing keys pass).
class TKeyFilter : public QObject {
public:
    TKeyFilter(QString allowed, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString allowed_;
};

// The digits-and-backspace filter of the area fields, and the PID fields' hexadecimal one.
inline const QString kDigitKeys = QStringLiteral("0123456789");
inline const QString kPidKeys = QStringLiteral("0123456789ABCDEFabcdefx");
void InstallKeyFilter(QWidget& field, const QString& allowed);

}  // namespace app
