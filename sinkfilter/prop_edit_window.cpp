#include "sinkfilter/prop_edit_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <iterator>

#include "sinkfilter/if_orbelle.h"

namespace sinkfilter {
namespace {

struct TListItem {
    const char* text;
    int value;
};

// The output kinds in the order the list shows them (RTP beside UDP, not in value order).
const TListItem kInterfaceItems[] = {
    {"UDP Client", siUdpClient}, {"UDP Server", siUdpServer}, {"RTP", siRtp},
    {"TCP Client", siTcpClient}, {"TCP Server", siTcpServer}, {"WebSocket Server", siWebSocket},
};

const TListItem kFormatItems[] = {
    {"unknown", ftUnk},         {"Video::MPEG", ftVidMpeg}, {"Video::H.264", ftVidH264},
    {"Video::HEVC", ftVidHevc}, {"Video::AVC", ftVidAvc},   {"Video::VP8", ftVidVp8},
    {"Video::RGB32", ftVidRgb32},
};

// The keys an edit takes (backspace and the cursor keys are no text and always pass); anything
// typed or pasted beyond them is discarded.
const char* const kAddressKeys = "[0-9.\\-]*";
const char* const kNumberKeys = "[0-9\\-]*";

QLineEdit* MakeEdit(QWidget* parent, const char* name, const char* keys) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(keys), edit));
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void Fill(QComboBox* combo, const TListItem* first, const TListItem* last) {
    combo->clear();
    for (const TListItem* item = first; item != last; ++item) combo->addItem(item->text, item->value);
    combo->setCurrentIndex(-1);
}

void Select(QComboBox* combo, int value) { combo->setCurrentIndex(combo->findData(value)); }

std::optional<int> ValueAt(const QComboBox* combo, int index) {
    if (index < 0) return std::nullopt;
    return combo->itemData(index).toInt();
}

}  // namespace

TPropEditWindow::TPropEditWindow(dshow::TComModule& module) : token_(module) {
    setWindowTitle("Property Editor");
    resize(kPropEditWidth, kPropEditHeight);

    auto* group = new QGroupBox(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(group);

    IpAddr_Edit = MakeEdit(group, "IpAddr_Edit", kAddressKeys);
    Port_Edit = MakeEdit(group, "Port_Edit", kNumberKeys);
    Buffer_Edit = MakeEdit(group, "Buffer_Edit", kNumberKeys);
    RtpPayloadType_Edit = MakeEdit(group, "RtpPayloadType_Edit", kNumberKeys);
    Header_CB = new QCheckBox("Header", group);
    Header_CB->setObjectName("Header_CB");
    Format_ComboBox = new QComboBox(group);
    Format_ComboBox->setObjectName("Format_ComboBox");
    Format_ComboBox->setEditable(true);
    Format_ComboBox->setInsertPolicy(QComboBox::NoInsert);
    Interface_ComboBox = new QComboBox(group);
    Interface_ComboBox->setObjectName("Interface_ComboBox");

    auto* buffer = new QHBoxLayout;
    buffer->addWidget(Buffer_Edit);
    buffer->addWidget(new QLabel("bytes", group));

    auto* grid = new QGridLayout(group);
    grid->addWidget(MakeLabel(group, "IP Addr", IpAddr_Edit), 0, 0);
    grid->addWidget(IpAddr_Edit, 0, 1);
    grid->addWidget(MakeLabel(group, "Port", Port_Edit), 0, 2);
    grid->addWidget(Port_Edit, 0, 3);
    grid->addWidget(MakeLabel(group, "Buffer", Buffer_Edit), 1, 0);
    grid->addLayout(buffer, 1, 1);
    grid->addWidget(Header_CB, 1, 3);
    grid->addWidget(MakeLabel(group, "FormatType", Format_ComboBox), 2, 0);
    grid->addWidget(Format_ComboBox, 2, 1);
    grid->addWidget(MakeLabel(group, "Interface", Interface_ComboBox), 3, 0);
    grid->addWidget(Interface_ComboBox, 3, 1);
    grid->addWidget(MakeLabel(group, "RTP PayloadType", RtpPayloadType_Edit), 3, 2);
    grid->addWidget(RtpPayloadType_Edit, 3, 3);

    // Only what the user does counts as a change: filling the page leaves it clean.
    for (QLineEdit* edit : {IpAddr_Edit, Port_Edit, Buffer_Edit, RtpPayloadType_Edit})
        connect(edit, &QLineEdit::textEdited, this, [this] { Edited(); });
    connect(Format_ComboBox->lineEdit(), &QLineEdit::textEdited, this, [this] { Edited(); });
    connect(Header_CB, &QCheckBox::clicked, this, [this] { Edited(); });
    connect(Format_ComboBox, &QComboBox::activated, this, [this] { Edited(); });
    connect(Interface_ComboBox, &QComboBox::activated, this, [this] { Edited(); });
}

void TPropEditWindow::SetOnEdited(std::function<void()> onEdited) { onEdited_ = std::move(onEdited); }

void TPropEditWindow::Edited() {
    if (onEdited_) onEdited_();
}

void TPropEditWindow::FillLists() {
    Fill(Format_ComboBox, std::begin(kFormatItems), std::end(kFormatItems));
    Fill(Interface_ComboBox, std::begin(kInterfaceItems), std::end(kInterfaceItems));
}

void TPropEditWindow::SelectFormat(int value) { Select(Format_ComboBox, value); }
void TPropEditWindow::SelectInterface(int value) { Select(Interface_ComboBox, value); }

std::optional<int> TPropEditWindow::SelectedFormat() const {
    return ValueAt(Format_ComboBox, Format_ComboBox->findText(Format_ComboBox->currentText(), Qt::MatchExactly));
}

std::optional<int> TPropEditWindow::SelectedInterface() const {
    return ValueAt(Interface_ComboBox, Interface_ComboBox->currentIndex());
}

void TPropEditWindow::UpdatePayloadTypeEdit() { RtpPayloadType_Edit->setEnabled(SelectedInterface() == siRtp); }

}  // namespace sinkfilter
