// The program's main block: one instance at a time, the screen checks, the splash window, the forms and
// the message loop.
#pragma once

#include "app/startup/StartupUi.h"
#include "common/SingleInstance.h"

namespace app {

inline constexpr const char* kApplicationTitle = "Framewick";

// Runs the block and returns the process's exit code. A second start asks the running instance to
// come forward and ends without a window; a cancelled screen check ends before any window.
int RunProgramBlock(IStartupUi& ui, ISingleInstance& instance);

}  // namespace app
