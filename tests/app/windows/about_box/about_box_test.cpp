// The About box: its labels and version line, the processor line in the locale's format, the link
// labels (made afresh at each showing, their looks under the mouse, the addresses they open), the OK
// colour button, and the octagonal window shape.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <vector>

#include "app/windows/about_box/AboutForm.h"
#include "app/windows/about_box/CpuInfo.h"
#include "app/windows/about_box/MouseSensitiveLabel.h"
#include "components/ColorButton.h"
#include "components/ColorFrames.h"
#include "tests/components/widget_test_app.h"

namespace {

using app::TAboutForm;
using app::TCpuInfo;

void Click(QWidget& w) {
    const QPointF p(w.width() / 2.0, w.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, w.mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w.mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
}

struct AboutFixture : ::testing::Test {
    std::vector<QUrl> opened;
    int probes = 0;
    TAboutForm form{nullptr, [this](const QUrl& url) { opened.push_back(url); },
                    [this] {
                        ++probes;
                        return TCpuInfo{true, "GenuineIntel", 3192};
                    }};
};

TEST(CpuLineTest, VendorAndClockInTheLocalesFormat) {
    const TCpuInfo cpu{true, "AuthenticAMD", 3192};
    EXPECT_EQ(app::CpuLineText(cpu, QLocale::c()), "on a 'AuthenticAMD' processor at ~3.192 GHz");
    EXPECT_EQ(app::CpuLineText(cpu, QLocale(QLocale::German, QLocale::Germany)),
              "on a 'AuthenticAMD' processor at ~3,192 GHz");
    EXPECT_EQ(app::CpuLineText({true, "GenuineIntel", 800}, QLocale::c()),
              "on a 'GenuineIntel' processor at ~0.800 GHz");
    EXPECT_EQ(app::CpuLineText({}, QLocale::c()), "on a not identified processor");
}

#if defined(__x86_64__) || defined(__i386__)
TEST(CpuLineTest, ThisProcessorIsIdentifiedAndClocked) {
    const TCpuInfo cpu = app::ProbeCpu();
    ASSERT_TRUE(cpu.HasCpuid);
    EXPECT_EQ(cpu.Vendor.size(), 12u);
    EXPECT_GT(cpu.MHz, 100u);
    EXPECT_LT(cpu.MHz, 20000u);
}
#endif

TEST_F(AboutFixture, ShowingFillsNameVersionProcessorAndCopyright) {
    QLocale::setDefault(QLocale::c());
    form.show();
    EXPECT_EQ(form.Label1()->text(), "Framewick");
    EXPECT_EQ(form.ApplicationLabel()->text(), "Framewick");
    EXPECT_EQ(form.VersionLabel()->text(), QStringLiteral("version ") + FW_EXPECTED_FILE_VERSION);
    EXPECT_EQ(form.CPULabel()->text(), "on a 'GenuineIntel' processor at ~3.192 GHz");
    EXPECT_FALSE(form.CopyrightLabel()->text().isEmpty());
    EXPECT_EQ(probes, 1);
    // The OK panel sits one pixel below the web address.
    EXPECT_EQ(form.ButtonPanel()->y(), form.URLLabel()->geometry().bottom() + 2);
    form.close();
}

TEST_F(AboutFixture, WindowTakesTheFramesOctagon) {
    form.show();
    EXPECT_EQ(form.Frame()->geometry(), form.rect());
    EXPECT_EQ(form.Frame()->BevelMain().bmShape(), components::bsPolyButton);
    EXPECT_FALSE(form.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(form.mask().contains(form.rect().center()));
    form.close();
}

TEST_F(AboutFixture, LinkLabelsTakeTheModelsPlaceAndOpenTheAddresses) {
    form.show();
    app::TMouseSensitiveLabel* url = form.UrlLink();
    app::TMouseSensitiveLabel* mail = form.MailLink();
    ASSERT_TRUE(url && mail);
    EXPECT_EQ(url->geometry(), form.URLLabel()->geometry());
    EXPECT_EQ(url->text(), form.URLLabel()->text());
    EXPECT_EQ(url->alignment(), form.URLLabel()->alignment());
    EXPECT_EQ(mail->geometry(), form.MailLabel()->geometry());
    EXPECT_EQ(url->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(url->isVisible());

    Click(*url);
    Click(*mail);
    const QString address = form.URLLabel()->text();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl(address));
    EXPECT_EQ(opened[1], QUrl(address + "/contact/"));
    form.close();

    form.show();  // a new pair replaces the old one
    EXPECT_NE(form.UrlLink(), nullptr);
    int links = 0;
    for (QLabel* label : form.findChildren<QLabel*>()) links += dynamic_cast<app::TMouseSensitiveLabel*>(label) != nullptr;
    EXPECT_EQ(links, 2);
    EXPECT_EQ(probes, 2);
    form.close();
}

TEST(MouseSensitiveLabelTest, HoverLookIsOrangeUnderlinedAndGoesBackOnLeave) {
    app::TMouseSensitiveLabel label;
    label.ApplyLook(label.NormalLook());
    EXPECT_EQ(label.TextColor(), 0x800000u);
    EXPECT_TRUE(label.font().bold());
    EXPECT_FALSE(label.font().underline());

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&label, &enter);
    EXPECT_EQ(label.TextColor(), 0x0080FFu);
    EXPECT_TRUE(label.font().bold());
    EXPECT_TRUE(label.font().underline());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
    EXPECT_EQ(label.TextColor(), 0x800000u);
    EXPECT_FALSE(label.font().underline());
}

TEST_F(AboutFixture, OkButtonClosesTheWindow) {
    components::TColorButton* ok = form.OKButton();
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ButtonMain().bmShape(), components::bsVariable);
    EXPECT_EQ(ok->ButtonSub().bpLeftSide(), components::fdOpen);
    EXPECT_EQ(ok->ButtonSub().bpRightSide(), components::fdOpen);
    EXPECT_TRUE(ok->ButtonSub().bpFill());
    form.show();
    ASSERT_TRUE(form.isVisible());
    Click(*ok);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

}  // namespace
