// A library that registers a class but exports no DllGetClassObject.
#include "tests/platform/com/test_server_api.h"

extern "C" HRESULT DllRegisterServer() {
    return RegisterInprocServer(CLSID_NoFactory, "No Factory", ModulePathOf(reinterpret_cast<void*>(&DllRegisterServer)));
}
