#include "sinkfilter/filter_utils.h"

#include <mutex>

#include "platform/registry/registry.h"

namespace sinkfilter {
namespace {

std::mutex& KeyMutex() {
    static std::mutex m;
    return m;
}
std::string& KeyPath() {
    static std::string path;
    return path;
}

}  // namespace

void SetFilterRegKey(std::string_view path) {
    std::lock_guard lock(KeyMutex());
    KeyPath() = path;
}

std::string GetFilterRegKey() {
    std::lock_guard lock(KeyMutex());
    return KeyPath();
}

int32_t ReadFilterInteger(std::string_view name, int32_t defaultValue) {
    const std::string key = GetFilterRegKey();
    if (key.empty()) return defaultValue;
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!reg.OpenKeyReadOnly(key)) return defaultValue;
    return reg.ReadInteger(name).value_or(defaultValue);
}

bool ReadFilterBool(std::string_view name, bool defaultValue) {
    const std::string key = GetFilterRegKey();
    if (key.empty()) return defaultValue;
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!reg.OpenKeyReadOnly(key)) return defaultValue;
    return reg.ReadBool(name).value_or(defaultValue);
}

void WriteFilterInteger(std::string_view name, int32_t value) {
    const std::string key = GetFilterRegKey();
    if (key.empty()) return;
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (reg.OpenKey(key, true)) reg.WriteInteger(name, value);
}

void WriteFilterBool(std::string_view name, bool value) {
    const std::string key = GetFilterRegKey();
    if (key.empty()) return;
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (reg.OpenKey(key, true)) reg.WriteBool(name, value);
}

}  // namespace sinkfilter
