// The splash window: borderless, on top, the version label on black, centred on the monitor of
// splash.ini. It lives until the main window lets it go at the end of start-up.
#pragma once

#include <QLabel>
#include <QWidget>

namespace app {

class TSplash_Form : public QWidget {
public:
    TSplash_Form();
    // Centres the window on the monitor of splash.ini and shows it.
    void ShowCentred();

private:
    QLabel* versionLabel_;
};

}  // namespace app
