// The 12 bytes in front of every RTP datagram of the sink:
//   0     0x80 (version 2, no padding, extension or contributing sources)
//   1     low byte of the payload type (128 and more set the marker bit, as it is sent)
//   2-3   sequence number, most significant byte first
//   4-7   millisecond tick count when the datagram is built, most significant byte first
//   8-11  synchronisation source, least significant byte first
#pragma once

#include <array>
#include <cstdint>

namespace sinkfilter {

using TRtpHeader = std::array<uint8_t, 12>;

TRtpHeader BuildRtpHeader(int32_t payloadType, uint16_t sequence, uint32_t tickMs, uint32_t ssrc);

// Tick count x 100 plus the address of the sender modulo 100, in 32-bit unsigned arithmetic.
uint32_t MakeRtpSsrc(uint32_t tickMs, uintptr_t senderAddress);

}  // namespace sinkfilter
