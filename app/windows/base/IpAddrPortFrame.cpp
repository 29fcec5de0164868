#include "app/windows/base/IpAddrPortFrame.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QKeyEvent>
#include <QLabel>

#include "app/windows/base/DigitRules.h"

namespace app {
namespace {

constexpr int kOctetFieldWidthPx = 36;
constexpr int kPortFieldWidthPx = 56;

QLineEdit* MakeField(QWidget* parent, const char* name, const char* text, int width) {
    auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

}  // namespace

TMod_IpAddr_Port_Frame::TMod_IpAddr_Port_Frame(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(tr("IP Address"), this));
    Ip1_Edit = MakeField(this, "Ip1_Edit", "000", kOctetFieldWidthPx);
    Ip2_Edit = MakeField(this, "Ip2_Edit", "000", kOctetFieldWidthPx);
    Ip3_Edit = MakeField(this, "Ip3_Edit", "000", kOctetFieldWidthPx);
    Ip4_Edit = MakeField(this, "Ip4_Edit", "000", kOctetFieldWidthPx);
    octets_ = {Ip1_Edit, Ip2_Edit, Ip3_Edit, Ip4_Edit};
    for (size_t i = 0; i < octets_.size(); ++i) {
        if (i > 0) layout->addWidget(new QLabel(QStringLiteral("."), this));
        layout->addWidget(octets_[i]);
        octets_[i]->installEventFilter(this);
        QLineEdit* edit = octets_[i];
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { CheckOctet(edit); });
    }
    layout->addSpacing(8);
    layout->addWidget(new QLabel(tr("Port"), this));
    Port_Edit = MakeField(this, "Port_Edit", "65535", kPortFieldWidthPx);
    layout->addWidget(Port_Edit);
    connect(Port_Edit, &QLineEdit::textChanged, this, [this] { CheckNumberField(Port_Edit, kMaxPortValue); });
    layout->addStretch(1);
}

void TMod_IpAddr_Port_Frame::CheckNumberField(QLineEdit* edit, int maxValue) {
    const std::string text = edit->text().toStdString();
    const std::string checked = ClampNumberText(text, maxValue);
    if (checked == text) return;
    // setText runs this rule again on the new text, which it keeps.
    edit->setText(QString::fromStdString(checked));
    if (text.empty()) edit->selectAll();
}

void TMod_IpAddr_Port_Frame::CheckOctet(QLineEdit* edit) { CheckNumberField(edit, kMaxOctetValue); }

void TMod_IpAddr_Port_Frame::SetIpText(const std::string& text) {
    std::string rest = text;
    for (size_t i = 0; i < 3; ++i) {
        const size_t dot = rest.find('.');
        const std::string part = dot == std::string::npos ? std::string() : rest.substr(0, dot);
        octets_[i]->setText(QString::fromStdString(DigitsOnly(part)));
        if (dot != std::string::npos) rest.erase(0, dot + 1);
    }
    Ip4_Edit->setText(QString::fromStdString(DigitsOnly(rest)));
}

std::string TMod_IpAddr_Port_Frame::GetIpText() const {
    std::string text;
    for (size_t i = 0; i < octets_.size(); ++i) {
        if (i > 0) text += '.';
        text += octets_[i]->text().toStdString();
    }
    return text;
}

void TMod_IpAddr_Port_Frame::SetPort(int port) {
    Port_Edit->setText(QString::number(std::clamp(port, 0, kMaxPortValue)));
}

int TMod_IpAddr_Port_Frame::GetPort() const { return NumberTextValue(Port_Edit->text().toStdString(), kMaxPortValue); }

int TMod_IpAddr_Port_Frame::OctetIndexOf(QObject* object) const {
    for (size_t i = 0; i < octets_.size(); ++i)
        if (octets_[i] == object) return static_cast<int>(i);
    return -1;
}

void TMod_IpAddr_Port_Frame::FocusOctet(int index) {
    const int count = static_cast<int>(octets_.size());
    QLineEdit* edit = octets_[static_cast<size_t>((index + count) % count)];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

bool TMod_IpAddr_Port_Frame::eventFilter(QObject* watched, QEvent* event) {
    const int index = OctetIndexOf(watched);
    if (index >= 0 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* edit = octets_[static_cast<size_t>(index)];
        if (key->key() == Qt::Key_Period) {
            FocusOctet(index + 1);
            return true;  // the "." never reaches the field
        }
        if (key->key() == Qt::Key_Left && edit->cursorPosition() == 0 && !edit->hasSelectedText()) {
            FocusOctet(index - 1);
            return true;
        }
        if (key->key() == Qt::Key_Right && edit->cursorPosition() == edit->text().size() && !edit->hasSelectedText()) {
            FocusOctet(index + 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace app
