// The address-and-port input of the web-server, web-socket, share and capture dialogs: four octet
// fields separated by "." labels and a port field. Each field keeps itself a number in range while it
// is typed in: an emptied field shows "0" (selected), other characters than digits vanish, an octet
// above 255 becomes "255" and a port above 65535 "65535". "." and the arrow keys at a field's edge
// move between the octets, round from the fourth to the first.
#pragma once

#include <QLineEdit>
#include <QWidget>
#include <array>
#include <string>

namespace app {

class TMod_IpAddr_Port_Frame : public QWidget {
public:
    explicit TMod_IpAddr_Port_Frame(QWidget* parent = nullptr);

    // Splits a dotted address into the octet fields; a part that is missing reads "0".
    void SetIpText(const std::string& text);
    // The four octet texts joined by "." exactly as they stand.
    std::string GetIpText() const;
    void SetPort(int port);  // clamped to 0..65535
    int GetPort() const;     // 0 when the field holds no digit string

    QLineEdit* Ip1_Edit;
    QLineEdit* Ip2_Edit;
    QLineEdit* Ip3_Edit;
    QLineEdit* Ip4_Edit;
    QLineEdit* Port_Edit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void CheckNumberField(QLineEdit* edit, int maxValue);
    static void CheckOctet(QLineEdit* edit);
    int OctetIndexOf(QObject* object) const;
    void FocusOctet(int index);

    std::array<QLineEdit*, 4> octets_;
};

}  // namespace app
