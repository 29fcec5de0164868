// The warning dialog with two buttons and a check box that Framewick and Hollarin show at start-up,
// and its results.
#pragma once

#include <string>

namespace app {

// A warning dialog with two buttons and a check box (the message dialog with a check box).
struct TCheckDialogRequest {
    std::string Caption;
    std::string Text;
    std::string Button1;  // first button, the default
    std::string Button2;
    std::string CheckCaption;
};
// The message dialog's results: the first button; the second button or the window closed otherwise.
constexpr int kDialogFirstButton = 1;
constexpr int kDialogSecondButton = 2;

}  // namespace app
