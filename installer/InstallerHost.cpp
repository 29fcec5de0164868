#include "installer/InstallerHost.h"

#include <QMessageBox>
#include <cstdlib>

namespace hollarin {

bool TQtInstallerHost::IsUserAdministrator(bool& isAdmin) {
    isAdmin = true;
    return true;
}

void TQtInstallerHost::ShowMessage(const QString& title, const QString& text, TMessageIcon icon) {
    QMessageBox box(icon == TMessageIcon::Error         ? QMessageBox::Critical
                    : icon == TMessageIcon::Information ? QMessageBox::Information
                                                        : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void TQtInstallerHost::EndProcess() { std::_Exit(0); }

}  // namespace hollarin
