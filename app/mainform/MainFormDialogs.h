// The message boxes of the main window's start-up and of its libVLC check, behind a small interface so
// that tests answer them. The real one is the custom-button message dialog.
#pragma once

#include <string>

namespace app {

enum class TDialogKind { Warning, Error, Information, Confirmation };

class IMainFormDialogs {
public:
    virtual ~IMainFormDialogs() = default;
    // A modal box with one or two buttons (button2 empty: one); 1 for the first button, 2 for the
    // second or when the box was closed.
    virtual int Ask(TDialogKind kind, const std::string& caption, const std::string& text, const std::string& button1,
                    const std::string& button2) = 0;
};

// components::TMsgDlg, the first button the default.
class TMsgDlgDialogs final : public IMainFormDialogs {
public:
    int Ask(TDialogKind kind, const std::string& caption, const std::string& text, const std::string& button1,
            const std::string& button2) override;
};

}  // namespace app
