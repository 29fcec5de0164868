#include "sinkfilter/rtp_header.h"

namespace sinkfilter {

TRtpHeader BuildRtpHeader(int32_t payloadType, uint16_t sequence, uint32_t tickMs, uint32_t ssrc) {
    TRtpHeader h{};
    h[0] = 0x80;
    h[1] = static_cast<uint8_t>(payloadType & 0xFF);
    h[2] = static_cast<uint8_t>(sequence >> 8);
    h[3] = static_cast<uint8_t>(sequence);
    for (int i = 0; i < 4; ++i) h[4 + i] = static_cast<uint8_t>(tickMs >> (24 - 8 * i));
    for (int i = 0; i < 4; ++i) h[8 + i] = static_cast<uint8_t>(ssrc >> (8 * i));
    return h;
}

uint32_t MakeRtpSsrc(uint32_t tickMs, uintptr_t senderAddress) {
    return tickMs * 100u + static_cast<uint32_t>(senderAddress % 100);
}

}  // namespace sinkfilter
