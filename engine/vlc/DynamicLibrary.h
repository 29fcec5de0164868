// One shared library opened with dlopen, closed when the object goes.
#pragma once

#include <string>

namespace engine {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads path with every symbol resolved at once; global makes its symbols visible to libraries
    // loaded later (libvlc and the plugins need libvlccore's). False (and LastError set) on failure.
    bool Open(const std::string& path, bool global);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    // The address of name, nullptr when the library lacks it or is not open.
    void* Symbol(const char* name) const;
    const std::string& LastError() const { return lastError_; }

private:
    void* handle_ = nullptr;
    std::string lastError_;
};

}  // namespace engine
