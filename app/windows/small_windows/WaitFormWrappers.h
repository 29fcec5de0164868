// Shows and closes the wait window over a form while a capture starts or stops. The wait window and the
// main window are made known once at program start (SetWaitFormTargets); before that, or after either
// is gone, both calls do nothing.
#pragma once

class QWidget;

namespace app {

class TWait_Form;

// Modes of the wait window.
constexpr int kWaitModeGauge = 0;        // gauge and "... please wait ..."
constexpr int kWaitModeText = 1;         // "... please wait ..." lower down
constexpr int kWaitModeOutputLevel = 2;  // "... Get Current Output Level ..."

// Registry flag (per instance) of the compact main window: no wait window over it then.
inline constexpr const char* kCompactMainWindowValue = "lumora_min";

void SetWaitFormTargets(TWait_Form* waitForm, QWidget* mainWindow);

// Shows the wait window over owner in mode; nothing when it is already visible, or when owner is the
// main window and the main window is compact.
void ShowWaitForm(int mode, QWidget* owner);
// Closes the wait window when it is visible (it keeps itself up for its minimum time).
void CloseWaitForm();

}  // namespace app
