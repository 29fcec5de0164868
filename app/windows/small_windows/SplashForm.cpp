#include "app/windows/small_windows/SplashForm.h"

#include <QBitmap>
#include <QPixmap>

#include "app/startup/SplashSettings.h"
#include "app/windows/small_windows/SplashPicture.h"

namespace app {
namespace {
constexpr int kVersionLabelHeightPx = 20;
constexpr int kVersionLabelBottomPx = 30;  // from the picture's bottom edge to the label's top
}  // namespace

TSplash_Form::TSplash_Form() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName("TSplash_Form");
    // A caption of its own: a window search for the main window's caption must not take the splash.
    setWindowTitle(QStringLiteral("Framewick - Splash"));
    setStyleSheet("background-color: black;");
    const QImage picture = MakeSplashPicture();
    Splash_Image = new QLabel(this);
    Splash_Image->setObjectName("Splash_Image");
    Splash_Image->setPixmap(QPixmap::fromImage(picture));
    Splash_Image->move(0, 0);
    Splash_Image->resize(picture.size());
    setFixedSize(picture.size());
    // The picture's black is the colour key: the window's shape leaves it out, so the desktop shows
    // through there (the window system's shape support; without it the black stays).
    setMask(QBitmap::fromImage(picture.createMaskFromColor(kSplashColourKey, Qt::MaskInColor)));

    Version_Label = new QLabel(this);
    Version_Label->setObjectName("Version_Label");
    Version_Label->setAlignment(Qt::AlignCenter);
    Version_Label->setAttribute(Qt::WA_TranslucentBackground);
    Version_Label->setStyleSheet("background: transparent; color: #C1D1DA;");
    Version_Label->setGeometry(0, height() - kVersionLabelBottomPx, width(), kVersionLabelHeightPx);
}

void TSplash_Form::ShowCentred() {
    const platform::TPoint origin = SplashOrigin(width(), height());
    move(origin.X, origin.Y);
    Version_Label->setText(QString::fromStdString(SplashVersionText()));
    show();
}

}  // namespace app
