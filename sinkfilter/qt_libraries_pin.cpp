#include "sinkfilter/qt_libraries_pin.h"

#include <dlfcn.h>

#include <QObject>
#include <QWidget>
#include <string>

#include "platform/dshow/dshow_log.h"

namespace sinkfilter {
namespace {

// Loads nothing: raises the already loaded library that holds the address to "never unload".
void PinLibraryOf(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || !info.dli_fname) {
        dshow::Log("[Orbelle32] cannot find the Qt library to keep loaded");
        return;
    }
    if (!::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
        dshow::Log(std::string("[Orbelle32] cannot keep ") + info.dli_fname + " loaded: " + ::dlerror());
}

}  // namespace

void PinQtLibraries() {
    PinLibraryOf(&QWidget::staticMetaObject);  // Qt Widgets, which holds Qt Gui in turn
    PinLibraryOf(&QObject::staticMetaObject);  // Qt Core
}

}  // namespace sinkfilter
