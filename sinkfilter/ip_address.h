// IPv4 addresses as the system passes them: a 32-bit integer with the first octet in the top byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sinkfilter {

std::string IpToDotted(int32_t address);
// Four dot-separated decimal parts of 0..255 each, leading zeros allowed; empty for anything else.
std::optional<int32_t> DottedToIp(std::string_view text);

}  // namespace sinkfilter
