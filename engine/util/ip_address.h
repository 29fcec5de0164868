#pragma once

// The shared IPv4 integer of settings, lists and shares: first octet in the top byte.

#include <cstdint>
#include <string>

namespace engine {

// 127.0.0.1 as the shared IPv4 integer.
inline constexpr int32_t kLoopbackAddress = 0x7F000001;

// The shared IPv4 integer as dotted text "a.b.c.d".
std::string IpAddrToText(uint32_t ipAddr);

// The same text for the signed fields of shares and capture parameters.
inline std::string DottedAddress(int32_t ipAddr) { return IpAddrToText(static_cast<uint32_t>(ipAddr)); }

}  // namespace engine
