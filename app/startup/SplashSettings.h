// The splash window's settings: the monitor it is centred on, kept in splash.ini ([Splash] MonIdx,
// 1-based, default 1), and the version text it shows.
#pragma once

#include "platform/display/geometry.h"

#include <string>

namespace app {

inline constexpr const char* kSplashSection = "Splash";
inline constexpr const char* kSplashMonitorKey = "MonIdx";

// MonIdx of AppPaths()->SplashIniFile; 1 when the file or the key is missing or bad.
int ReadSplashMonitor();
// Writes MonIdx (the file is replaced atomically); false with *error when it cannot be written.
bool WriteSplashMonitor(int index, std::string* error = nullptr);

// Top-left corner of a width x height splash window centred on the monitor of splash.ini; a monitor
// that does not exist (or a number below 1) means the first one.
platform::TPoint SplashOrigin(int width, int height);

// "V " + the program's file version.
std::string SplashVersionText();

}  // namespace app
