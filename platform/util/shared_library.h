// One dlopen handle, closed with dlclose when the object goes. Opening uses RTLD_NOW, so a library with
// unresolved symbols fails at once; its symbols stay its own unless it is opened for the libraries
// loaded after it.
#pragma once

#include <string>

namespace platform {

// Local: the library's symbols resolve nothing outside it. Global: libraries loaded later may use them
// (libvlc and its plugins need libvlccore's).
enum class SymbolScope { Local, Global };

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;

    // Closes what was open first; on failure Error() holds the loader's reason.
    bool Open(const std::string& path, SymbolScope scope = SymbolScope::Local);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    // The address of name; nullptr when the library lacks it or is not open.
    void* Symbol(const char* name) const;
    const std::string& Error() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace platform
