#include "app/windows/base/SpeedButton.h"

#include <QString>
#include <QToolButton>

namespace app {

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const char* text, const char* hint, bool checkable) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(text));
    button->setToolTip(QString::fromLatin1(hint));
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    return button;
}

}  // namespace app
