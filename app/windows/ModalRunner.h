// Every modal show of the editors and pickers goes through RunModal, so tests (and any caller that must
// not block) can answer in place of the user: an installed runner gets the dialog, may fill and press
// it, and returns its result. Results are those of the dialogs: 1 OK, 2 Cancel.
#pragma once

#include <functional>

class QDialog;

namespace app {

constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;

using TModalRunner = std::function<int(QDialog& dialog)>;

// An empty runner restores the real modal loop. Returns the runner installed before.
TModalRunner SetModalRunner(TModalRunner runner);

// Shows dialog modally (or hands it to the installed runner): kModalOk when it was accepted.
int RunModal(QDialog& dialog);

}  // namespace app
