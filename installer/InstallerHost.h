// What the install window asks of the system around it: the administrator test, plain message boxes
// and the hard end of the process. The program's is TQtInstallerHost; tests use a fake that records.
#pragma once

#include <QString>

namespace hollarin {

enum class TMessageIcon { None, Error, Information };

class IInstallerHost {
public:
    virtual ~IInstallerHost() = default;
    // True when the test could be made; isAdmin whether the user may install. Callers go on only when
    // both are true.
    virtual bool IsUserAdministrator(bool& isAdmin) = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(const QString& title, const QString& text, TMessageIcon icon) = 0;
    // Ends the process at once, without clean-up, with exit code 0. A fake returns.
    virtual void EndProcess() = 0;
};

// Elevation is not a property of a program on this platform: who may write the library folder may
// install, and the install window's write test tells that. So the administrator test always passes.
class TQtInstallerHost : public IInstallerHost {
public:
    bool IsUserAdministrator(bool& isAdmin) override;
    void ShowMessage(const QString& title, const QString& text, TMessageIcon icon) override;
    [[noreturn]] void EndProcess() override;
};

}  // namespace hollarin
