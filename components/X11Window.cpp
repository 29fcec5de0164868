#include "components/X11Window.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace components {

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::optional<TX11Window> X11WindowOf(QWidget& widget) {
    xcb_connection_t* c = X11Connection();
    if (!c) return std::nullopt;
    widget.winId();  // makes the native window when there is none
    const QWindow* handle = widget.windowHandle();
    if (!handle) return std::nullopt;
    return TX11Window{c, static_cast<xcb_window_t>(handle->winId()), handle->isVisible()};
}

}  // namespace components
