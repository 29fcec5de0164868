// fwregsvr [-u] library.so: loads an in-process server library and calls its DllRegisterServer (or,
// with -u, DllUnregisterServer). Prints one line saying what happened; exit code 0 on success, 1 otherwise.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/com/com.h"

namespace {

const char* Reason(HRESULT hr) {
    switch (hr) {
        case CO_E_DLLNOTFOUND: return "the library was not found";
        case CO_E_ERRORINDLL: return "the library cannot be loaded or lacks the entry point";
        case SELFREG_E_CLASS: return "the class could not be written to the registry";
        case E_OUTOFMEMORY: return "out of memory";
        case E_ACCESSDENIED: return "access denied";
        default: return "the library reported an error";
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    std::vector<std::string> libraries;
    bool unknownOption = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-u")
            unregister = true;
        else if (arg.empty() || arg[0] == '-')
            unknownOption = true;
        else
            libraries.push_back(arg);
    }
    if (unknownOption || libraries.size() != 1) {
        std::fprintf(stderr, "usage: fwregsvr [-u] library.so\n");
        return 1;
    }
    const std::string& library = libraries.front();
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    HRESULT hr = RegisterServerLibrary(library, unregister);
    if (SUCCEEDED(hr)) {
        std::printf("fwregsvr: %s in \"%s\" succeeded.\n", entry, library.c_str());
        return 0;
    }
    std::printf("fwregsvr: %s in \"%s\" failed: %s (0x%08X).\n", entry, library.c_str(), Reason(hr),
                static_cast<unsigned>(hr));
    return 1;
}
