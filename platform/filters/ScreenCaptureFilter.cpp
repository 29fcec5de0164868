#include "platform/filters/ScreenCaptureFilter.h"

#include <cstring>
#include <exception>
#include <new>

#include "platform/dshow/dshow_log.h"
#include "platform/filters/BmpCodec.h"
#include "platform/filters/ScreenCaptureStream.h"

namespace platform {
namespace {

bool SameGeometry(const TScreenCaptureSettings& a, const TScreenCaptureSettings& b) {
    return a.Area == b.Area && a.OutWidth == b.OutWidth && a.OutHeight == b.OutHeight;
}

}  // namespace

dshow::TComModule& TScreenCaptureFilter::Module() {
    static dshow::TComModule module;
    return module;
}

dshow::TUnknown* TScreenCaptureFilter::CreateObject(HRESULT* hr) {
    return dshow::FactoryMadeObject(hr, [] { return new TScreenCaptureFilter(nullptr); });
}

HRESULT TScreenCaptureFilter::Create(IUnknown* outer, REFIID riid, void** ppv) {
    return dshow::CreateMadeObject(outer, riid, ppv, [] { return new TScreenCaptureFilter(nullptr); });
}

HRESULT TScreenCaptureFilter::CreateWithSource(TSourceFactory sourceFactory, REFIID riid, void** ppv) {
    return dshow::QueryMadeObject(riid, ppv, [sourceFactory] { return new TScreenCaptureFilter(sourceFactory); });
}

TScreenCaptureFilter::TScreenCaptureFilter(TSourceFactory sourceFactory)
    : dshow::TSource(kFilterName, CLSID_ScreenCaptureFilter), sourceFactory_(sourceFactory) {
    AddStream(std::make_unique<TScreenCaptureStream>(this));
}

TScreenCaptureFilter::~TScreenCaptureFilter() {
    // The streaming thread must be gone before the source it reads from.
    if (dshow::TBasePin* pin = GetPin(0)) static_cast<TScreenCaptureStream*>(pin)->StopThread();
}

HRESULT TScreenCaptureFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IScreenCaptureData::iid) return dshow::GetInterface(static_cast<IScreenCaptureData*>(this), ppv);
    return dshow::TSource::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT TScreenCaptureFilter::SetCaptureParams(TScreenCaptureFilterParams params) {
    try {
        if (State() != State_Stopped) return VFW_E_WRONG_STATE;
        const std::optional<TScreenCaptureSettings> next = ReadScreenCaptureSettings(params);
        if (!next) {
            dshow::Log("[Screen Capture] refused a capture record without a usable size");
            return E_INVALIDARG;
        }
        // The filter's lock first, then the settings: connecting a pin takes them in this order too
        // (it asks the settings for the media type while it holds the filter's lock).
        std::lock_guard filterLock(FilterLock());
        std::lock_guard lock(settingsMutex_);
        // A connected pin has agreed on a picture size; only the same size can follow.
        dshow::TBasePin* pin = GetPin(0);
        if (settings_ && pin && pin->IsConnected() &&
            (next->OutWidth != settings_->OutWidth || next->OutHeight != settings_->OutHeight))
            return VFW_E_WRONG_STATE;
        record_ = params;
        settings_ = next;
        dshow::LogInfo("[Screen Capture] area " + std::to_string(next->Area.Left) + "," +
                       std::to_string(next->Area.Top) + " " + std::to_string(next->Area.Width()) + "x" +
                       std::to_string(next->Area.Height()) + ", pictures " + std::to_string(next->OutWidth) + "x" +
                       std::to_string(next->OutHeight) + " at " + std::to_string(next->FrameRate) + " fps");
        return S_OK;
    } catch (const std::exception&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT TScreenCaptureFilter::GetCaptureParams(TScreenCaptureFilterParams* params) {
    if (!params) return E_POINTER;
    std::lock_guard lock(settingsMutex_);
    *params = record_;
    return S_OK;
}

HRESULT TScreenCaptureFilter::GetFrameCount(int64_t* frames) {
    if (!frames) return E_POINTER;
    *frames = frames_.load();
    return S_OK;
}

HRESULT TScreenCaptureFilter::ReleaseImage() {
    std::lock_guard lock(grabMutex_);
    std::vector<uint8_t>().swap(image_);
    return S_OK;
}

HRESULT TScreenCaptureFilter::IsDisplayCapture(BOOL* fromDisplay) {
    if (!fromDisplay) return E_POINTER;
    try {
        std::lock_guard lock(grabMutex_);
        *fromDisplay = Source().FromDisplay() ? TRUE : FALSE;
        return S_OK;
    } catch (const std::exception&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT TScreenCaptureFilter::Reserved6() { return E_NOTIMPL; }
HRESULT TScreenCaptureFilter::Reserved8() { return E_NOTIMPL; }

bool TScreenCaptureFilter::GetImage(IFrameStream* stream) {
    if (!stream) return false;
    try {
        const std::optional<TScreenCaptureSettings> s = Settings();
        if (!s) return false;
        std::vector<uint8_t> pixels(static_cast<size_t>(s->OutWidth) * s->OutHeight * 4);
        if (!FillFrame(pixels.data(), pixels.size(), TRowOrder::BottomUp)) return false;
        std::lock_guard lock(grabMutex_);
        image_.resize(BmpFileBytes(s->OutWidth, s->OutHeight));
        if (!WriteBmp32(pixels.data(), s->OutWidth, s->OutHeight, TRowOrder::BottomUp, image_.data())) return false;
        // The stream's old content goes: the caller reads one bitmap from its start.
        if (!stream->SetSize(0)) return false;
        stream->Seek(0);
        return stream->Write(image_.data(), image_.size()) == image_.size();
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<TScreenCaptureSettings> TScreenCaptureFilter::Settings() {
    std::lock_guard lock(settingsMutex_);
    return settings_;
}

IScreenSource& TScreenCaptureFilter::Source() {
    if (!source_) {
        if (sourceFactory_) {
            source_ = sourceFactory_();
        } else {
            std::string note;
            source_ = OpenScreenSource(&note);
            dshow::LogInfo("[Screen Capture] " + note);
        }
    }
    return *source_;
}

bool TScreenCaptureFilter::FillFrame(uint8_t* frame, size_t bytes, TRowOrder order) {
    const std::optional<TScreenCaptureSettings> s = Settings();
    if (!s || bytes < static_cast<size_t>(s->OutWidth) * s->OutHeight * 4) return false;
    try {
        std::lock_guard lock(grabMutex_);
        if (!builder_ || !builderSettings_ || !SameGeometry(*builderSettings_, *s)) {
            builder_ = std::make_unique<TCaptureFrameBuilder>(Source(), *s);
            builderSettings_ = s;
        }
        if (!s->CapturesWindow) {
            window_.reset();
            return builder_->Fill(frame, order, s->Area);
        }
        if (!window_ || window_->NamedClass() != s->WindowClass || window_->NamedCaption() != s->WindowCaption)
            window_ = std::make_unique<TCapturedWindow>(s->WindowClass, s->WindowCaption);
        return FillWithWindow(frame, builder_->FrameBytes(), order);
    } catch (const std::exception&) {  // runs on the streaming thread: nothing may escape
        return false;
    }
}

bool TScreenCaptureFilter::FillWithWindow(uint8_t* frame, size_t bytes, TRowOrder order) {
    const std::shared_ptr<IDisplay> display = CurrentDisplay();
    // A hidden, gone or not yet found window is a black picture, and its area is not read at all.
    const std::optional<TRect> shown = window_->ShownRect(*display);
    if (!shown) {
        std::memset(frame, 0, bytes);
        return true;
    }
    const bool grabbed = builder_->Fill(frame, order, *shown);
    if (!window_->StillShown(*display)) std::memset(frame, 0, bytes);  // hidden while it was read
    return grabbed;
}

void TScreenCaptureFilter::CountFrame() { ++frames_; }
void TScreenCaptureFilter::ResetFrameCount() { frames_ = 0; }

}  // namespace platform
