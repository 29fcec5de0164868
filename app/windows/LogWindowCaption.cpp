#include "app/windows/LogWindowCaption.h"

namespace app {

QString InstanceCaption(const QString& caption, int instance) {
    if (instance > 0) return QStringLiteral("[%1] %2").arg(instance).arg(caption);
    return caption;
}

void RestoreFormBounds(QWidget& form, const std::string& name, const TFormBounds& defaults) {
    TFormBounds bounds;
    if (!ReadFormBounds(name, bounds)) bounds = defaults;
    form.setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

void SaveFormBounds(const QWidget& form, const std::string& name) {
    const QRect g = form.geometry();
    WriteFormBounds(name, TFormBounds{g.top(), g.left(), g.height(), g.width()});
}

}  // namespace app
