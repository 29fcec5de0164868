// The splash window: borderless, on top, its picture at the top-left corner with the client area of
// the picture's size, black see-through (the window's shape leaves out the picture's black), and the
// version label centred over the picture. Centred on the monitor of splash.ini; it lives until the
// main window lets it go at the end of start-up.
#pragma once

#include <QLabel>
#include <QWidget>

namespace app {

class TSplash_Form : public QWidget {
public:
    TSplash_Form();
    // Centres the window on the monitor of splash.ini and shows it.
    void ShowCentred();

    QLabel* Splash_Image;
    QLabel* Version_Label;
};

}  // namespace app
