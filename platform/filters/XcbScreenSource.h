// Pixels from the X server over xcb: a shared-memory segment (MIT-SHM) when the server offers one on this
// machine, else plain GetImage replies. A top-down frame that is itself a shared buffer (the capture
// stream's samples) and whose rows lie across the screen is written by the server directly, with no
// copy here.
// X errors come back as values and are logged; none ends the process.
#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/filters/ScreenSource.h"

namespace platform {

class TXcbScreenSource final : public IScreenSource {
public:
    // Connects to the named display ($DISPLAY for nullptr). Only 24- and 32-bit true-colour screens with
    // 32 bits per pixel, least significant byte first, are taken; otherwise nullptr and *why says why.
    static std::unique_ptr<TXcbScreenSource> Open(const char* displayName, std::string* why,
                                                  bool allowSharedMemory = true);
    ~TXcbScreenSource() override;

    bool Grab(const TRect& area, const TRect& readable, uint8_t* frame, TRowOrder order) override;
    bool FromDisplay() const override { return true; }
    bool UsesSharedMemory() const { return shmAvailable_; }
    // Pictures the server wrote straight into a shared frame (no copy here), for tests and figures.
    size_t DirectPictures() const { return directPictures_.load(); }

private:
    struct ConnectionCloser {
        void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
    };
    struct FreeDeleter {
        void operator()(void* p) const;
    };
    class SharedSegment;

    TXcbScreenSource();
    bool ScreenRect(TRect& rect);
    // The visible part's pixels, top-down, visible.Width() * 4 bytes per row; nullptr on an X error.
    const uint8_t* FetchPixels(const TRect& visible);
    const uint8_t* FetchShared(const TRect& visible);
    const uint8_t* FetchByReply(const TRect& visible);
    // The server writes visible into the shared buffer with segment id shmId, offset bytes in; false
    // when it cannot.
    bool FetchInto(int shmId, const TRect& visible, size_t offset);
    // Logs an error once until a grab succeeds again, so a lasting fault does not flood the log.
    void LogError(const std::string& what);

    std::unique_ptr<xcb_connection_t, ConnectionCloser> conn_;
    xcb_window_t root_ = 0;
    bool shmAvailable_ = false;
    std::unique_ptr<SharedSegment> segment_;
    std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> imageReply_;
    std::map<int, uint32_t> frameSegments_;  // xcb_shm_seg_t of the shared buffers the server attached, by id; 0: refused
    std::mutex mutex_;  // one request sequence at a time on the connection
    std::string lastError_;
    std::atomic<size_t> directPictures_{0};
};

}  // namespace platform
