// Every modal show of the editors, pickers and dialogs goes through RunModal: the dialog's own modal
// loop, whose result it turns into the dialogs' numbers (1 OK, 2 Cancel). A picker that stands in for
// its caller's window while it runs hides that window through TScopedModalHide.
#pragma once

#include <QPointer>
#include <QWidget>

class QDialog;

namespace app {

constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;

// Shows dialog modally: kModalOk when it was accepted, kModalCancel however else it closed.
int RunModal(QDialog& dialog);

// Hides window for as long as the object lives and then shows it again. A dialog's own hide() would
// end the modal loop the dialog runs in, and its caller would take that for Cancel; this hides the
// window only, so the loop goes on under the picker that runs in its place.
class TScopedModalHide {
public:
    explicit TScopedModalHide(QWidget& window);
    ~TScopedModalHide();
    TScopedModalHide(const TScopedModalHide&) = delete;
    TScopedModalHide& operator=(const TScopedModalHide&) = delete;

private:
    QPointer<QWidget> window_;  // none when it was not shown to begin with
};

}  // namespace app
