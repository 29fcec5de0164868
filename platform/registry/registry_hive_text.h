// The text form of a hive file, readable and editable by hand:
//   FRAMEWICK-REGISTRY 1
//   key "Software\Pellorin\Morvalt\v9"
//   str "Root" "/opt/framewick/"
//   int "DpiDialog" 1
//   bin "Blob" "00ff7f"
//   end
// Quoted texts hold any bytes: "%", """ and control bytes are written as "%XX". Blank lines and lines
// starting with "#" are ignored. A file without the header or the closing "end" (a truncated one), or
// with any line that does not parse, is damaged as a whole: parsing then yields nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry_hive.h"

namespace platform {

std::string FormatHive(const RegistryHive& hive);
// Empty when the text is damaged; *error then says where and why.
std::optional<RegistryHive> ParseHive(std::string_view text, std::string* error = nullptr);

}  // namespace platform
