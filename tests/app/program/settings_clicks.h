// The settings dialog of Framewick itself (a second process on the desktop of the test program,
// private_desktop.h), worked as a user works it: the pointer (XTest) on the tool bar's Configuration
// button, then on the settings dialog's first page and its OK, or on its Download VLC and the question
// that follows. Where those lie in their windows is read beforehand from the same windows made by the
// test program on the same desktop (the main window with its real parts), which then go again.
#pragma once

#include <xcb/xcb.h>

#include <QPoint>
#include <QSize>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/test_env.h"

namespace fw_test {

inline constexpr const char* kMainWindowCaption = "Framewick";
inline constexpr const char* kSettingsCaption = "Framewick - Settings";
inline constexpr const char* kQuestionCaption = "Confirmation";

// Points in window pixels.
struct TSettingsPlaces {
    QPoint ConfigurationButton;  // of the main window's tool bar
    QSize Settings;              // the settings dialog, as it opens
    QPoint KeepAwakeBox;         // "prevent Screensaver (KSA)" on its first page
    QPoint DownloadButton;       // "Download VLC" on its first page
    QPoint OkButton;
    QSize DownloadQuestion;      // "The application has to be terminated - are you sure?"
    QPoint DownloadQuestionYes;
};

// Made by the test program's own windows in a data folder below scratch; needs the QApplication of
// the desktop.
TSettingsPlaces OwnSettingsPlaces(const std::filesystem::path& scratch);

// The viewable top-level window called caption, when there is one now.
std::optional<xcb_window_t> WindowCalled(const std::string& caption);
// Waits for it while program runs.
std::optional<xcb_window_t> WaitForWindow(ChildProcess& program, const std::string& caption,
                                          std::chrono::milliseconds timeout);
// The window's size as the X server holds it.
QSize WindowSize(xcb_window_t window);
// A click of the first button at a point of the window.
bool ClickAt(xcb_window_t window, QPoint at);

}  // namespace fw_test
