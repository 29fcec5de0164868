// The digit rules and the address-and-port frame as the user types into it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/windows/base/DigitRules.h"
#include "app/windows/base/IpAddrPortFrame.h"
#include "tests/components/widget_test_app.h"

namespace {

using app::TMod_IpAddr_Port_Frame;

TEST(DigitRules, DigitStringsAndClamping) {
    EXPECT_TRUE(app::IsDigitString("0123"));
    EXPECT_FALSE(app::IsDigitString(""));
    EXPECT_FALSE(app::IsDigitString("1 2"));
    EXPECT_EQ(app::DigitsOnly("a1.b2-3"), "123");

    struct Case {
        const char* text;
        int max;
        const char* expected;
    };
    const Case cases[] = {
        {"", 255, "0"},          {"300", 255, "255"},       {"1a2", 255, "12"},     {"abc", 255, "0"},
        {"255", 255, "255"},     {"007", 255, "007"},       {"0000300", 255, "255"}, {"70000", 65535, "65535"},
        {"65535", 65535, "65535"}, {"99999999999999999999", 65535, "65535"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::ClampNumberText(c.text, c.max), c.expected) << c.text;
    EXPECT_EQ(app::NumberTextValue("99999999999999999999", 65535), 65535);
    EXPECT_EQ(app::NumberTextValue("12x", 65535), 0);
}

TEST(DigitRules, DottedTextToAddressInteger) {
    EXPECT_EQ(app::DottedTextToIpAddr("127.0.0.1"), 2130706433);
    EXPECT_EQ(static_cast<uint32_t>(app::DottedTextToIpAddr("192.168.1.20")), 0xC0A80114u);
    EXPECT_EQ(app::DottedTextToIpAddr("10.0.0"), 0x0A000000);
    EXPECT_EQ(app::DottedTextToIpAddr(""), 0);
}

TEST(IpAddrPortFrame, SetIpTextSplitsTheParts) {
    TMod_IpAddr_Port_Frame frame;
    EXPECT_EQ(frame.GetIpText(), "000.000.000.000");
    EXPECT_EQ(frame.Port_Edit->text(), "65535");
    frame.SetIpText("192.168.1.20");
    EXPECT_EQ(frame.GetIpText(), "192.168.1.20");
    // The third part is empty and reads "0"; the remaining "0" fills the fourth field.
    frame.SetIpText("10.0.0");
    EXPECT_EQ(frame.GetIpText(), "10.0.0.0");
}

TEST(IpAddrPortFrame, FieldsKeepThemselvesInRange) {
    TMod_IpAddr_Port_Frame frame;
    frame.Ip1_Edit->clear();
    QTest::keyClicks(frame.Ip1_Edit, "300");
    EXPECT_EQ(frame.Ip1_Edit->text(), "255");

    frame.Ip2_Edit->setText("1a2");
    EXPECT_EQ(frame.Ip2_Edit->text(), "12");

    frame.Ip3_Edit->setText("77");
    frame.Ip3_Edit->setText("");
    EXPECT_EQ(frame.Ip3_Edit->text(), "0");
    EXPECT_EQ(frame.Ip3_Edit->selectedText(), "0");

    frame.Port_Edit->setText("70000");
    EXPECT_EQ(frame.Port_Edit->text(), "65535");
    frame.Port_Edit->setText("");
    EXPECT_EQ(frame.Port_Edit->text(), "0");
    frame.SetPort(-5);
    EXPECT_EQ(frame.Port_Edit->text(), "0");
    frame.SetPort(8080);
    EXPECT_EQ(frame.GetPort(), 8080);
}

TEST(IpAddrPortFrame, DotAndArrowsMoveBetweenOctets) {
    TMod_IpAddr_Port_Frame frame;
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.SetIpText("1.2.3.4");

    frame.Ip4_Edit->setFocus();
    QTest::keyClick(frame.Ip4_Edit, Qt::Key_Period);
    EXPECT_TRUE(frame.Ip1_Edit->hasFocus());
    EXPECT_EQ(frame.Ip4_Edit->text(), "4");  // the "." never stays

    frame.Ip2_Edit->setFocus();
    frame.Ip2_Edit->deselect();
    frame.Ip2_Edit->setCursorPosition(0);
    QTest::keyClick(frame.Ip2_Edit, Qt::Key_Left);
    EXPECT_TRUE(frame.Ip1_Edit->hasFocus());

    frame.Ip4_Edit->setFocus();
    frame.Ip4_Edit->deselect();
    frame.Ip4_Edit->setCursorPosition(1);
    QTest::keyClick(frame.Ip4_Edit, Qt::Key_Right);
    EXPECT_TRUE(frame.Ip1_Edit->hasFocus());
}

}  // namespace
