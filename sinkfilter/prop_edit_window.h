// The window of the sink's property page: a group box with the seven settings, the key filters of
// its edits and the items of its two lists. It knows nothing of the registry or the filter; the page
// fills it, reads it back and hears of every change the user makes through SetOnEdited.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "platform/dshow/class_factory.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace sinkfilter {

inline constexpr int kPropEditWidth = 378;
inline constexpr int kPropEditHeight = 164;

class TPropEditWindow final : public QWidget {
public:
    // Made without a parent; the page places it into the host's window when it is activated. The
    // window keeps the library loaded for as long as it exists (its code runs in Qt's event loop).
    explicit TPropEditWindow(dshow::TComModule& module);

    // Called after each change the user makes (typing, clicking, picking an item); not for changes
    // made through the methods below. An empty function stops the calls.
    void SetOnEdited(std::function<void()> onEdited);

    // Empties both lists and fills them again with their items.
    void FillLists();
    // Selects the item carrying the value; no item is selected when none carries it.
    void SelectFormat(int value);
    void SelectInterface(int value);
    // The value of the selected item. For the format list, whose edit field takes any text, that is
    // the item whose text the field shows; empty when the text names no item.
    std::optional<int> SelectedFormat() const;
    std::optional<int> SelectedInterface() const;

    // The payload-type edit is open only while the RTP output is selected.
    void UpdatePayloadTypeEdit();

    QLineEdit* IpAddr_Edit;
    QLineEdit* Port_Edit;
    QLineEdit* Buffer_Edit;
    QCheckBox* Header_CB;
    QComboBox* Format_ComboBox;
    QComboBox* Interface_ComboBox;
    QLineEdit* RtpPayloadType_Edit;

private:
    void Edited();

    dshow::TComModule::TObjectToken token_;
    std::function<void()> onEdited_;
};

}  // namespace sinkfilter
