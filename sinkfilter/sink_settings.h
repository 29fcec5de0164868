// The seven settings of the sink: read from the registry when a filter is made, corrected when a host
// sets them up, and turned into the chunk size the sender actually uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sinkfilter/if_orbelle.h"

namespace sinkfilter {

inline constexpr int32_t kDefaultIpPort = 1234;
inline constexpr int32_t kDefaultIpAddr = 2130706433;  // 127.0.0.1
inline constexpr int32_t kDefaultIpBuffer = 32768;
inline constexpr int32_t kDefaultRtpPayloadType = 33;
// Corrections of SetupDravenel.
inline constexpr int32_t kSetupPortFallback = 12345;
inline constexpr int32_t kSetupSmallBuffer = 1024;
inline constexpr int32_t kMaxIpBuffer = 65535;
// The largest UDP payload over IPv4: a bigger datagram cannot be sent at all.
inline constexpr size_t kMaxDatagramBytes = 65507;
inline constexpr size_t kRtpHeaderBytes = 12;

struct TSinkSettings {
    int32_t ipPort = kDefaultIpPort;
    int32_t ipAddr = kDefaultIpAddr;
    int32_t ipBuffer = kDefaultIpBuffer;
    bool header = false;
    uint8_t format = ftUnk;
    int32_t rtpPayloadType = kDefaultRtpPayloadType;
    uint8_t interfaceKind = siUdpClient;
};

// "IpPort", "IpAddr", "IpBuffer", "Header", "Format", "RtpPayloadType", "Interface" as stored (no
// corrections), each with its default when the key or the value is missing or unreadable.
TSinkSettings LoadSinkSettings();

// The settings SetupDravenel stores; the three byte-sized values come from the low byte of their slot.
TSinkSettings SettingsFromSetup(int32_t ipPort, int32_t ipAddr, int32_t ipBuffer, uint32_t headerSlot,
                                uint32_t formatSlot, int32_t rtpPayloadType, uint32_t interfaceSlot);

// Bytes per datagram, write or message. Out-of-range values take the default; so does a size that
// leaves no payload (0, or 12 and less for RTP). UDP and RTP are held to the largest datagram.
size_t EffectiveChunkSize(uint8_t interfaceKind, int32_t ipBuffer);

}  // namespace sinkfilter
