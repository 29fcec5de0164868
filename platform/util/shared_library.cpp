#include "platform/util/shared_library.h"

#include <dlfcn.h>

#include <utility>

namespace platform {

SharedLibrary::~SharedLibrary() { Close(); }

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool SharedLibrary::Open(const std::string& path, SymbolScope scope) {
    Close();
    error_.clear();
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | (scope == SymbolScope::Global ? RTLD_GLOBAL : RTLD_LOCAL));
    if (!handle_) {
        const char* why = ::dlerror();
        error_ = why ? why : "cannot be loaded";
    }
    return handle_ != nullptr;
}

void SharedLibrary::Close() {
    if (void* handle = std::exchange(handle_, nullptr)) ::dlclose(handle);
}

void* SharedLibrary::Symbol(const char* name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }

}  // namespace platform
