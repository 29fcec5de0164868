// Disabled value fields stay readable: their text, as drawn, stands out from their grey background by
// a contrast ratio of at least 4.5 to 1 (the internal port of the capture editor, the archive limits
// of the settings dialog).
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <cmath>
#include <functional>

#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/CaptureSourcePage.h"
#include "app/windows/editors/Setup_ScreenCapture_Frame.h"
#include "app/windows/settings_dialog/GeneralSettingsPage.h"
#include "tests/app/windows/base/fake_file_chooser.h"
#include "tests/common/dialog_test_support.h"

namespace {

constexpr double kMinContrast = 4.5;

double Channel(int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb rgb) {
    return 0.2126 * Channel(qRed(rgb)) + 0.7152 * Channel(qGreen(rgb)) + 0.0722 * Channel(qBlue(rgb));
}

// The contrast between the field's background (its most common colour) and the darkest pixel of its text.
double DrawnContrast(QWidget& field) {
    field.resize(120, 24);
    const QImage image = field.grab().toImage();
    std::map<QRgb, int> counts;
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
            ++counts[pixel];
            if (Luminance(pixel) < Luminance(darkest)) darkest = pixel;
        }
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    const double lighter = std::max(Luminance(background), Luminance(darkest));
    const double darker = std::min(Luminance(background), Luminance(darkest));
    return (lighter + 0.05) / (darker + 0.05);
}

TEST(DisabledFields, InternalPortIsReadable) {
    app::TCaptureSettings_Form editor{app::TCaptureEditorContext{}};
    QLineEdit& port = *editor.Setup_ScreenCapture_Frame1->CapturePage->SinkPort_Edit;
    port.setText("47048");
    editor.Setup_ScreenCapture_Frame1->CapturePage->EditPort_TB->setChecked(false);
    editor.Setup_ScreenCapture_Frame1->CapturePage->EditPort_TBClick();  // the field goes back to its locked look
    ASSERT_FALSE(port.isEnabled());
    EXPECT_GE(DrawnContrast(port), kMinContrast);
}

TEST(DisabledFields, ArchiveLimitsAreReadable) {
    fw_test::TFakeFileChooser chooser;
    app::TGeneralSettingsPage page(chooser, [] {});
    page.SizeLimit_RB->setChecked(true);  // the count limit is the disabled one
    page.ArchFile_SpinEdit->setValue(500);
    page.UpdateArchiveLimitControls();
    ASSERT_FALSE(page.ArchFile_SpinEdit->isEnabled());
    EXPECT_GE(DrawnContrast(*page.ArchFile_SpinEdit), kMinContrast);
}

}  // namespace
