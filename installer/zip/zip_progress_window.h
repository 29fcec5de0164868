// Where an extraction reports its percentages: the caller's progress window. Each new value is handed
// over synchronously; the window may answer kZipAbortPercent to stop the extraction.
#pragma once

#include <cstdint>

namespace hollarin {

constexpr uint16_t kZipAbortPercent = 0xFFFF;

class TZipProgressWindow {
public:
    virtual ~TZipProgressWindow() = default;
    virtual void OnProgress(uint16_t progressId, uint16_t& percent) = 0;
};

}  // namespace hollarin
