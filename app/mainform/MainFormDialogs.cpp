#include "app/mainform/MainFormDialogs.h"

#include "components/MsgDlg.h"

namespace app {
namespace {

components::TMsgDlgType DialogType(TDialogKind kind) {
    switch (kind) {
        case TDialogKind::Warning: return components::mtWarning;
        case TDialogKind::Error: return components::mtError;
        case TDialogKind::Information: return components::mtInformation;
        case TDialogKind::Confirmation: return components::mtConfirmation;
    }
    return components::mtCustom;
}

}  // namespace

int TMsgDlgDialogs::Ask(TDialogKind kind, const std::string& caption, const std::string& text,
                        const std::string& button1, const std::string& button2) {
    components::TMsgDlg dialog(DialogType(kind), QString::fromStdString(caption), QString::fromStdString(text),
                               QString::fromStdString(button1), QString::fromStdString(button2), QString(), 1);
    dialog.Form()->SetOnShow([&dialog] { dialog.DialogShow(); });
    const int result = dialog.Form()->exec();
    return result == 1 ? 1 : 2;
}

}  // namespace app
