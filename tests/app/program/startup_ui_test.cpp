// The program block's windows on Qt: the screen-resolution warning is the program's own message dialog
// with its check box, and the splash window shows its picture with black see-through.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

#include "app/mainform/QtStartupUi.h"
#include "app/startup/ScreenCheck.h"
#include "app/windows/small_windows/SplashForm.h"
#include "app/windows/small_windows/SplashPicture.h"
#include "components/MessageDialogForm.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"

namespace {

app::TQtStartupUi MakeUi() {
    return app::TQtStartupUi(static_cast<QApplication&>(*QCoreApplication::instance()), [] { return nullptr; });
}

QPushButton* ButtonCaptioned(QWidget& dialog, const QString& caption) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == caption) return button;
    return nullptr;
}

TEST(StartupUiTest, ResolutionWarningIsTheMessageDialogWithItsCheckBox) {
    const struct {
        const char* what;
        bool tick;
        const char* press;  // none: the window manager's close box
        int result;
    } cases[] = {
        {"Continue, box ticked", true, "    Continue    ", app::kDialogFirstButton},
        {"Cancel, box clear", false, "    Cancel    ", app::kDialogSecondButton},
        {"closed, box ticked", true, nullptr, app::kDialogSecondButton},
    };
    for (const auto& c : cases) {
        app::TQtStartupUi ui = MakeUi();
        bool checked = false;
        QString title, focused, text;
        bool ownDialog = false, boxShown = false;
        fw_test::ModalDriver modal;
        modal.On<QDialog>([&](QDialog& dialog) {
            ownDialog = dynamic_cast<components::TMessageDialogForm*>(&dialog) != nullptr;
            title = dialog.windowTitle();
            if (auto* f = qobject_cast<QPushButton*>(dialog.focusWidget())) focused = f->text();
            auto* box = dialog.findChild<QCheckBox*>();
            boxShown = box != nullptr && box->text() == "do not show again" && !box->isChecked();
            if (box && c.tick) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            if (c.press == nullptr) {
                fw_test::WindowManagerClose(dialog);
                return;
            }
            QPushButton* button = ButtonCaptioned(dialog, QString::fromLatin1(c.press));
            ASSERT_NE(button, nullptr) << c.what;
            fw_test::UserClick(*button);
        });
        EXPECT_EQ(ui.ShowCheckDialog(app::DpiWarningDialog(120), checked), c.result) << c.what;
        EXPECT_TRUE(modal.Done()) << c.what;
        EXPECT_TRUE(ownDialog) << c.what << ": not the program's message dialog";
        EXPECT_EQ(title, "Screen Resolution Check") << c.what;
        EXPECT_EQ(focused, "    Continue    ") << c.what << ": the first button is not the default";
        EXPECT_TRUE(boxShown) << c.what;
        EXPECT_EQ(checked, c.tick) << c.what;
    }
}

TEST(StartupUiTest, SplashShowsItsPictureWithBlackSeeThrough) {
    app::TSplash_Form splash;
    splash.ShowCentred();
    const QImage picture = app::MakeSplashPicture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(splash.size(), picture.size()) << "the client area takes the picture's size";
    ASSERT_NE(splash.Splash_Image, nullptr);
    EXPECT_EQ(splash.Splash_Image->geometry(), QRect(QPoint(0, 0), picture.size()));
    EXPECT_EQ(splash.Splash_Image->pixmap().toImage().convertToFormat(QImage::Format_RGB32), picture);

    // The picture is black around its panel: the window's shape leaves the black out, keeps the rest.
    const QRegion shape = splash.mask();
    const QPoint corner(0, 0), centre(picture.width() / 2, picture.height() / 2);
    EXPECT_EQ(picture.pixel(corner), app::kSplashColourKey);
    EXPECT_NE(picture.pixel(centre), app::kSplashColourKey);
    EXPECT_FALSE(shape.contains(corner)) << "black is not see-through";
    EXPECT_TRUE(shape.contains(centre));
    int keyed = 0, shown = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool black = picture.pixel(x, y) == app::kSplashColourKey;
            EXPECT_EQ(shape.contains(QPoint(x, y)), !black) << x << "," << y;
            (black ? keyed : shown) += 1;
            if (::testing::Test::HasFailure()) return;
        }
    EXPECT_GT(keyed, 0);
    EXPECT_GT(shown, picture.width() * picture.height() / 2);

    // The version label: centred over the picture, on no background of its own.
    const QRect label = splash.Version_Label->geometry();
    EXPECT_EQ(label.center().x(), splash.rect().center().x());
    EXPECT_TRUE(splash.rect().contains(label));
    EXPECT_TRUE(splash.Version_Label->text().startsWith("V "));
    const QImage shot = splash.grab().toImage();
    EXPECT_EQ(shot.pixelColor(label.left() + 2, label.top() + 1).rgb(), picture.pixel(label.left() + 2, label.top() + 1))
        << "the label paints a background over the picture";
}

}  // namespace
