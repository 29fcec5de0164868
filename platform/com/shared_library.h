// One dlopen handle, closed with dlclose when the object goes. Opening uses RTLD_NOW | RTLD_LOCAL, so
// a library with unresolved symbols fails at once and its symbols do not leak into other libraries.
#pragma once

#include <string>

namespace platform {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;

    // Closes what was open first; on failure Error() holds the loader's reason.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    void* Symbol(const char* name) const;
    const std::string& Error() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace platform
