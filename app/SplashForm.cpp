#include "app/SplashForm.h"

#include <QVBoxLayout>

#include "app/SplashSettings.h"

namespace app {
namespace {
constexpr int kSplashWidthPx = 360;
constexpr int kSplashHeightPx = 120;
}  // namespace

TSplash_Form::TSplash_Form() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName("TSplash_Form");
    // A caption of its own: a window search for the main window's caption must not take the splash.
    setWindowTitle(QStringLiteral("Framewick - Splash"));
    setFixedSize(kSplashWidthPx, kSplashHeightPx);
    setStyleSheet("background-color: black; color: #C1D1DA;");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("Framewick", this);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet("font: bold 28px;");
    versionLabel_ = new QLabel(this);
    versionLabel_->setObjectName("Version_Label");
    versionLabel_->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(versionLabel_);
}

void TSplash_Form::ShowCentred() {
    const platform::TPoint origin = SplashOrigin(width(), height());
    move(origin.X, origin.Y);
    versionLabel_->setText(QString::fromStdString(SplashVersionText()));
    show();
}

}  // namespace app
