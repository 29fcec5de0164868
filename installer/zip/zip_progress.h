// Progress and abort of one extraction: the message pump, the percentage of the entry's compressed data
// read so far, and the ways to stop (the progress window answers kZipAbortPercent, or, without a
// window, the key named by the progress id is held down; or the owner asks it to stop).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "installer/zip/zip_progress_window.h"
#include "platform/display/keyboard_state.h"
#include "platform/ui/message_pump.h"

namespace hollarin {

class TZipProgress {
public:
    // stop (may be null): when it turns true the next check aborts.
    TZipProgress(TZipProgressWindow* window, uint16_t progressId, platform::TMessagePump* pump,
                 platform::TKeyboardState* keys, std::function<void()> onActivity,
                 const std::atomic<bool>* stop = nullptr);

    // Serves the thread's messages and records a sign of life.
    void Pump();
    // Recomputes the percentage; a changed value goes to the window or triggers the key test.
    void Check(uint64_t bytesRead, uint64_t compressedSize);
    // The first report (0 %) before decoding and the last (100 %) after a good entry.
    void ReportStart();
    void ReportDone();

    bool Aborted() const { return aborted_; }

private:
    void Send();

    TZipProgressWindow* window_;
    uint16_t progressId_;
    platform::TMessagePump* pump_;
    platform::TKeyboardState* keys_;
    std::function<void()> onActivity_;
    const std::atomic<bool>* stop_;
    uint16_t lastPercent_ = 0;
    bool aborted_ = false;
};

}  // namespace hollarin
