#include "engine/vlc/DynamicLibrary.h"

#include <dlfcn.h>

namespace engine {

DynamicLibrary::~DynamicLibrary() { Close(); }

bool DynamicLibrary::Open(const std::string& path, bool global) {
    Close();
    handle_ = dlopen(path.c_str(), RTLD_NOW | (global ? RTLD_GLOBAL : RTLD_LOCAL));
    if (handle_ == nullptr) {
        const char* error = dlerror();
        lastError_ = error != nullptr ? error : "dlopen failed";
        return false;
    }
    lastError_.clear();
    return true;
}

void DynamicLibrary::Close() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return dlsym(handle_, name);
}

}  // namespace engine
