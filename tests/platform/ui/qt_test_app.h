// The QCoreApplication of a test program (made on first use, kept to the end).
#pragma once

#include <QCoreApplication>

inline QCoreApplication& TestApp() {
    static int argc = 1;
    static char name[] = "platform_ui_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QCoreApplication(argc, argv);
    return *app;
}
