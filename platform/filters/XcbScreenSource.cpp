#include "platform/filters/XcbScreenSource.h"

#include "platform/filters/SharedFrameMemory.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

constexpr size_t kProbeSegmentBytes = 4096;
constexpr uint32_t kAllPlanes = ~0u;

std::string XErrorText(const char* request, const xcb_generic_error_t* error) {
    return std::string(request) + " failed (X error " + std::to_string(error->error_code) + ")";
}

}  // namespace

void TXcbScreenSource::FreeDeleter::operator()(void* p) const { std::free(p); }

// One System V shared-memory segment attached both here and in the X server.
class TXcbScreenSource::SharedSegment {
public:
    static std::unique_ptr<SharedSegment> Create(xcb_connection_t* conn, size_t bytes, std::string* why) {
        const int id = ::shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (id < 0) {
            if (why) *why = "shmget failed";
            return nullptr;
        }
        void* addr = ::shmat(id, nullptr, 0);
        if (addr == reinterpret_cast<void*>(-1)) {
            ::shmctl(id, IPC_RMID, nullptr);
            if (why) *why = "shmat failed";
            return nullptr;
        }
        const xcb_shm_seg_t seg = xcb_generate_id(conn);
        xcb_generic_error_t* error = xcb_request_check(conn, xcb_shm_attach_checked(conn, seg, id, 0));
        // Marked for removal at once: the segment goes away when both sides have detached.
        ::shmctl(id, IPC_RMID, nullptr);
        if (error) {
            if (why) *why = XErrorText("ShmAttach", error);
            std::free(error);
            ::shmdt(addr);
            return nullptr;
        }
        return std::unique_ptr<SharedSegment>(new SharedSegment(conn, seg, static_cast<uint8_t*>(addr), bytes));
    }
    ~SharedSegment() {
        xcb_shm_detach(conn_, seg_);
        xcb_flush(conn_);
        ::shmdt(addr_);
    }
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;

    xcb_shm_seg_t Seg() const { return seg_; }
    const uint8_t* Data() const { return addr_; }
    size_t Bytes() const { return bytes_; }

private:
    SharedSegment(xcb_connection_t* conn, xcb_shm_seg_t seg, uint8_t* addr, size_t bytes)
        : conn_(conn), seg_(seg), addr_(addr), bytes_(bytes) {}
    xcb_connection_t* conn_;
    xcb_shm_seg_t seg_;
    uint8_t* addr_;
    size_t bytes_;
};

TXcbScreenSource::TXcbScreenSource() = default;

TXcbScreenSource::~TXcbScreenSource() {
    for (const auto& [id, seg] : frameSegments_)
        if (seg != 0) xcb_shm_detach(conn_.get(), seg);
    segment_.reset();  // detaches (and flushes) while the connection is still open
    imageReply_.reset();
}

std::unique_ptr<TXcbScreenSource> TXcbScreenSource::Open(const char* displayName, std::string* why,
                                                         bool allowSharedMemory) {
    auto fail = [why](const std::string& text) {
        if (why) *why = text;
        return std::unique_ptr<TXcbScreenSource>();
    };
    if (!displayName && !std::getenv("DISPLAY")) return fail("DISPLAY is not set");
    int screenNo = 0;
    std::unique_ptr<TXcbScreenSource> source(new TXcbScreenSource());
    source->conn_.reset(xcb_connect(displayName, &screenNo));
    xcb_connection_t* conn = source->conn_.get();
    if (xcb_connection_has_error(conn)) return fail("cannot connect to the X server");

    const xcb_setup_t* setup = xcb_get_setup(conn);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNo && screens.rem; ++i) xcb_screen_next(&screens);
    if (!screens.rem) return fail("no such X screen");
    const xcb_screen_t* screen = screens.data;
    if (screen->root_depth != 24 && screen->root_depth != 32) return fail("screen depth is not 24 or 32 bits");
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return fail("image byte order is not LSB first");
    bool format32 = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == screen->root_depth && f.data->bits_per_pixel == 32) format32 = true;
    if (!format32) return fail("no 32 bits per pixel format for the screen depth");
    bool rgbVisual = false;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d))
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
            if (v.data->visual_id == screen->root_visual)
                rgbVisual = v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && v.data->red_mask == 0xFF0000 &&
                            v.data->green_mask == 0x00FF00 && v.data->blue_mask == 0x0000FF;
    if (!rgbVisual) return fail("root visual is not 8-8-8 true colour");
    source->root_ = screen->root;

    if (allowSharedMemory) {
        const xcb_query_extension_reply_t* shm = xcb_get_extension_data(conn, &xcb_shm_id);
        if (shm && shm->present) {
            std::unique_ptr<xcb_shm_query_version_reply_t, FreeDeleter> version(
                xcb_shm_query_version_reply(conn, xcb_shm_query_version(conn), nullptr));
            // A segment the server cannot attach (a remote display) means plain replies.
            if (version) source->segment_ = SharedSegment::Create(conn, kProbeSegmentBytes, nullptr);
            source->shmAvailable_ = source->segment_ != nullptr;
        }
    }
    return source;
}

bool TXcbScreenSource::ScreenRect(TRect& rect) {
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> geometry(
        xcb_get_geometry_reply(conn_.get(), xcb_get_geometry(conn_.get(), root_), &error));
    if (!geometry) {
        LogError(error ? XErrorText("GetGeometry", error) : "GetGeometry got no reply");
        std::free(error);
        return false;
    }
    rect = MakeRect(0, 0, geometry->width, geometry->height);
    return true;
}

const uint8_t* TXcbScreenSource::FetchShared(const TRect& visible) {
    const size_t bytes = static_cast<size_t>(visible.Width()) * visible.Height() * 4;
    if (!segment_ || segment_->Bytes() < bytes) {
        segment_.reset();
        std::string why;
        segment_ = SharedSegment::Create(conn_.get(), bytes, &why);
        if (!segment_) {
            LogError("shared memory unavailable (" + why + "), using plain image replies");
            shmAvailable_ = false;
            return nullptr;
        }
    }
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_shm_get_image_reply_t, FreeDeleter> reply(xcb_shm_get_image_reply(
        conn_.get(),
        xcb_shm_get_image(conn_.get(), root_, static_cast<int16_t>(visible.Left), static_cast<int16_t>(visible.Top),
                          static_cast<uint16_t>(visible.Width()), static_cast<uint16_t>(visible.Height()), kAllPlanes,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, segment_->Seg(), 0),
        &error));
    if (!reply) {
        LogError(error ? XErrorText("ShmGetImage", error) : "ShmGetImage got no reply");
        std::free(error);
        return nullptr;
    }
    return segment_->Data();
}

const uint8_t* TXcbScreenSource::FetchByReply(const TRect& visible) {
    xcb_generic_error_t* error = nullptr;
    imageReply_.reset(xcb_get_image_reply(
        conn_.get(),
        xcb_get_image(conn_.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<int16_t>(visible.Left),
                      static_cast<int16_t>(visible.Top), static_cast<uint16_t>(visible.Width()),
                      static_cast<uint16_t>(visible.Height()), kAllPlanes),
        &error));
    if (!imageReply_) {
        LogError(error ? XErrorText("GetImage", error) : "GetImage got no reply");
        std::free(error);
        return nullptr;
    }
    const size_t bytes = static_cast<size_t>(visible.Width()) * visible.Height() * 4;
    if (static_cast<size_t>(xcb_get_image_data_length(imageReply_.get())) < bytes) {
        LogError("GetImage reply is shorter than the picture");
        return nullptr;
    }
    return xcb_get_image_data(imageReply_.get());
}

bool TXcbScreenSource::FetchInto(int shmId, const TRect& visible, size_t offset) {
    xcb_connection_t* conn = conn_.get();
    auto known = frameSegments_.find(shmId);
    if (known == frameSegments_.end()) {
        const xcb_shm_seg_t seg = xcb_generate_id(conn);
        xcb_generic_error_t* error = xcb_request_check(conn, xcb_shm_attach_checked(conn, seg, shmId, 0));
        if (error) {
            LogError(XErrorText("ShmAttach of a picture buffer", error) + ", copying instead");
            std::free(error);
        }
        known = frameSegments_.emplace(shmId, error ? 0 : seg).first;
    }
    if (known->second == 0) return false;  // refused once: this buffer is filled by copying
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_shm_get_image_reply_t, FreeDeleter> reply(xcb_shm_get_image_reply(
        conn,
        xcb_shm_get_image(conn, root_, static_cast<int16_t>(visible.Left), static_cast<int16_t>(visible.Top),
                          static_cast<uint16_t>(visible.Width()), static_cast<uint16_t>(visible.Height()), kAllPlanes,
                          XCB_IMAGE_FORMAT_Z_PIXMAP, known->second, static_cast<uint32_t>(offset)),
        &error));
    if (!reply) {
        LogError(error ? XErrorText("ShmGetImage", error) : "ShmGetImage got no reply");
        std::free(error);
        return false;
    }
    return true;
}

const uint8_t* TXcbScreenSource::FetchPixels(const TRect& visible) {
    if (shmAvailable_) {
        if (const uint8_t* pixels = FetchShared(visible)) return pixels;
        if (shmAvailable_) return nullptr;  // an X error, not a missing segment
    }
    return FetchByReply(visible);
}

bool TXcbScreenSource::Grab(const TRect& area, const TRect& readable, uint8_t* frame, TRowOrder order) {
    std::lock_guard lock(mutex_);
    const TRect noPixels{};
    if (xcb_connection_has_error(conn_.get())) {
        LogError("the connection to the X server is broken");
        ComposeFrame(area, noPixels, nullptr, 0, frame, order);
        return false;
    }
    TRect screen;
    if (!ScreenRect(screen)) {
        ComposeFrame(area, noPixels, nullptr, 0, frame, order);
        return false;
    }
    const TRect visible = area.Intersection(screen).Intersection(readable);
    if (visible.IsEmpty()) {
        ComposeFrame(area, noPixels, nullptr, 0, frame, order);
        return true;
    }
    // The server writes whole rows top-down: a shared top-down frame whose rows lie across the screen
    // takes them in place; only the rows above and below the screen are painted black here.
    if (shmAvailable_ && order == TRowOrder::TopDown && visible.Left == area.Left && visible.Right == area.Right) {
        const size_t rowBytes = static_cast<size_t>(area.Width()) * 4;
        const int shmId = SharedFrameSegment(frame, rowBytes * area.Height());
        const size_t above = rowBytes * (visible.Top - area.Top), inside = rowBytes * visible.Height();
        if (shmId >= 0 && FetchInto(shmId, visible, above)) {
            std::memset(frame, 0, above);
            std::memset(frame + above + inside, 0, rowBytes * area.Height() - above - inside);
            ++directPictures_;
            lastError_.clear();
            return true;
        }
    }
    const uint8_t* pixels = FetchPixels(visible);
    ComposeFrame(area, pixels ? visible : noPixels, pixels, static_cast<size_t>(visible.Width()) * 4, frame, order);
    imageReply_.reset();
    if (pixels) lastError_.clear();
    return pixels != nullptr;
}

void TXcbScreenSource::LogError(const std::string& what) {
    if (what == lastError_) return;
    lastError_ = what;
    std::fprintf(stderr, "[Screen Capture] X11: %s\n", what.c_str());
}

}  // namespace platform
