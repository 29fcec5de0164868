// What the program block needs of the windows: the screen's resolution, the check-box message dialog,
// the splash window, the forms and the message loop. The window layer implements it; tests use a fake.
#pragma once

#include <string>

#include "common/CheckDialog.h"

namespace app {

class IStartupUi {
public:
    virtual ~IStartupUi() = default;

    // The logical resolution of the screen, in dots per inch.
    virtual int ScreenLogicalDpi() = 0;
    // Shows the dialog modally; checked carries the box's state in and out, whichever button was pressed.
    virtual int ShowCheckDialog(const TCheckDialogRequest& request, bool& checked) = 0;
    // Creates and shows the splash window and lets it paint.
    virtual void ShowSplash() = 0;
    virtual void SetApplicationTitle(const std::string& title) = 0;
    // Creates the main window and the other forms, each once for the whole run. The main window's own
    // creation may end the process (its hard exits).
    virtual void CreateForms() = 0;
    // Brings the main window to the front: restored when minimised, else raised and activated. Called
    // on the user-interface thread when a second start asks for it.
    virtual void ShowMainWindow() = 0;
    // Runs the message loop until the main window has closed; the result is the process's exit code.
    virtual int RunMessageLoop() = 0;
};

}  // namespace app
