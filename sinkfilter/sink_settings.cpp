#include "sinkfilter/sink_settings.h"

#include <algorithm>

#include "sinkfilter/filter_utils.h"

namespace sinkfilter {

TSinkSettings LoadSinkSettings() {
    TSinkSettings s;
    s.ipPort = ReadFilterInteger("IpPort", kDefaultIpPort);
    s.ipAddr = ReadFilterInteger("IpAddr", kDefaultIpAddr);
    s.ipBuffer = ReadFilterInteger("IpBuffer", kDefaultIpBuffer);
    s.header = ReadFilterBool("Header", false);
    s.format = static_cast<uint8_t>(ReadFilterInteger("Format", ftUnk));
    s.rtpPayloadType = ReadFilterInteger("RtpPayloadType", kDefaultRtpPayloadType);
    s.interfaceKind = static_cast<uint8_t>(ReadFilterInteger("Interface", siUdpClient));
    return s;
}

TSinkSettings SettingsFromSetup(int32_t ipPort, int32_t ipAddr, int32_t ipBuffer, uint32_t headerSlot,
                                uint32_t formatSlot, int32_t rtpPayloadType, uint32_t interfaceSlot) {
    TSinkSettings s;
    s.ipPort = (ipPort < 1 || ipPort > 65535) ? kSetupPortFallback : ipPort;
    s.ipBuffer = ipBuffer < 1 ? kSetupSmallBuffer : (ipBuffer > kMaxIpBuffer ? kDefaultIpBuffer : ipBuffer);
    s.ipAddr = ipAddr;
    s.header = (headerSlot & 0xFF) != 0;
    s.format = static_cast<uint8_t>(formatSlot & 0xFF);
    s.rtpPayloadType = rtpPayloadType;
    s.interfaceKind = static_cast<uint8_t>(interfaceSlot & 0xFF);
    return s;
}

size_t EffectiveChunkSize(uint8_t interfaceKind, int32_t ipBuffer) {
    const bool datagrams = interfaceKind == siUdpClient || interfaceKind == siRtp;
    const size_t minimum = interfaceKind == siRtp ? kRtpHeaderBytes + 1 : 1;
    size_t chunk = (ipBuffer < 0 || ipBuffer > kMaxIpBuffer) ? kDefaultIpBuffer : static_cast<size_t>(ipBuffer);
    if (chunk < minimum) chunk = kDefaultIpBuffer;
    if (datagrams) chunk = std::min(chunk, kMaxDatagramBytes);
    return chunk;
}

}  // namespace sinkfilter
