#include "sinkfilter/sample_header.h"

namespace sinkfilter {
namespace {

void Put32(TSinkSampleHeader& h, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void Put64(TSinkSampleHeader& h, size_t at, uint64_t v) {
    for (int i = 0; i < 8; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

TSinkSampleHeader BuildSampleHeader(uint32_t sampleLength, const std::optional<TSampleTimes>& times,
                                    const VIDEOINFOHEADER* video) {
    TSinkSampleHeader h{};
    Put32(h, 0, kSampleHeaderMagic);
    Put32(h, 4, sampleLength);
    if (times) {
        Put64(h, 8, static_cast<uint64_t>(times->start));
        Put64(h, 16, static_cast<uint64_t>(times->stop));
    }
    if (video) {
        Put64(h, 24, static_cast<uint64_t>(video->AvgTimePerFrame));
        Put32(h, 32, static_cast<uint32_t>(video->bmiHeader.biWidth));
        Put32(h, 36, static_cast<uint32_t>(video->bmiHeader.biHeight));
        Put32(h, 40, video->bmiHeader.biPlanes);
        Put32(h, 44, video->bmiHeader.biBitCount);
    }
    return h;
}

}  // namespace sinkfilter
