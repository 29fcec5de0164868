// The 48-byte "TSRQ" header put in front of each queued sample when the header setting is on
// (receivers parse it; little-endian):
//    0  magic "TSRQ"          4  sample length (bytes after the header)
//    8  start time (100 ns)   16 stop time (100 ns); both 0 when the sample has none
//   24  AvgTimePerFrame       32 biWidth   36 biHeight   40 biPlanes   44 biBitCount
// Offsets 24..47 come from the connection's VIDEOINFOHEADER, and only for the VP8 format setting.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/dshow/dshow.h"

namespace sinkfilter {

inline constexpr size_t kSampleHeaderBytes = 48;
inline constexpr uint32_t kSampleHeaderMagic = 0x51525354;  // "TSRQ" read as a little-endian integer

struct TSampleTimes {
    REFERENCE_TIME start;
    REFERENCE_TIME stop;
};

using TSinkSampleHeader = std::array<uint8_t, kSampleHeaderBytes>;

// `video` is the connection's format block when the video fields apply (already checked to be a whole
// VIDEOINFOHEADER), else null.
TSinkSampleHeader BuildSampleHeader(uint32_t sampleLength, const std::optional<TSampleTimes>& times,
                                    const VIDEOINFOHEADER* video);

}  // namespace sinkfilter
