// The flat tool buttons of the log windows' button rows.
#pragma once

class QToolButton;
class QWidget;

namespace app {

// A raised-on-hover tool button named name (its object name) showing text, with hint as its tool tip.
QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const char* text, const char* hint, bool checkable);

}  // namespace app
