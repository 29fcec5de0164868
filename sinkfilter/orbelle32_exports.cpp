// The four exports of the Orbelle32 library; the version script keeps every other symbol local.
#include "platform/com/com.h"
#include "platform/dshow/class_factory.h"
#include "sinkfilter/sink_module.h"

namespace {

struct TLibraryInit {
    TLibraryInit() { sinkfilter::InitSinkLibrary(); }
};
const TLibraryInit g_libraryInit;

}  // namespace

extern "C" {

HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return dshow::GetClassObjectFromTemplates(sinkfilter::SinkFactoryTemplates(), sinkfilter::SinkModule(), clsid,
                                              riid, ppv);
}

HRESULT DllCanUnloadNow() { return sinkfilter::SinkModule().CanUnloadNow(); }

HRESULT DllRegisterServer() {
    return dshow::RegisterTemplates(sinkfilter::SinkFactoryTemplates(),
                                    ModulePathOf(reinterpret_cast<const void*>(&DllRegisterServer)));
}

HRESULT DllUnregisterServer() { return dshow::UnregisterTemplates(sinkfilter::SinkFactoryTemplates()); }

}  // extern "C"
