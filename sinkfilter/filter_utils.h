// The filter's settings store: integer and Boolean values of one key under HKEY_CURRENT_USER, the
// key path set once for the process. Every registry failure is swallowed: a read yields its default,
// a write is skipped; with no key path set reads give their defaults and writes do nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sinkfilter {

inline constexpr const char* kFilterRegKey = "SOFTWARE\\Quillmar\\DsFilters\\Dravenel32";

void SetFilterRegKey(std::string_view path);
std::string GetFilterRegKey();

int32_t ReadFilterInteger(std::string_view name, int32_t defaultValue);
bool ReadFilterBool(std::string_view name, bool defaultValue);
void WriteFilterInteger(std::string_view name, int32_t value);
void WriteFilterBool(std::string_view name, bool value);

}  // namespace sinkfilter
