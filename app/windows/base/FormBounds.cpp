#include "app/windows/base/FormBounds.h"

namespace app {

namespace {

void PlaceForm(QWidget& form, const TFormBounds& bounds) {
    form.resize(bounds.Width, bounds.Height);
    form.move(bounds.Left, bounds.Top);
}

}  // namespace

bool RestoreFormBounds(QWidget& form, const std::string& name) {
    TFormBounds bounds;
    if (!ReadFormBounds(name, bounds)) return false;
    PlaceForm(form, bounds);
    return true;
}

void RestoreFormBounds(QWidget& form, const std::string& name, const TFormBounds& defaults) {
    TFormBounds bounds;
    PlaceForm(form, ReadFormBounds(name, bounds) ? bounds : defaults);
}

void SaveFormBounds(const QWidget& form, const std::string& name) {
    const QPoint frame = form.pos();  // a top-level window's pos() is its frame's
    WriteFormBounds(name, TFormBounds{frame.y(), frame.x(), form.height(), form.width()});
}

}  // namespace app
