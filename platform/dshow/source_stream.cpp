#include "platform/dshow/source_stream.h"

#include "platform/dshow/dshow_log.h"
#include "platform/dshow/error_text.h"

namespace dshow {

// ---- TSourceStream --------------------------------------------------------------------------------

TSourceStream::TSourceStream(TSource* filter, std::string name) : TBaseOutputPin(filter, std::move(name)) {}

TSourceStream::~TSourceStream() { StopThread(); }

HRESULT TSourceStream::Active() {
    HRESULT hr = TBaseOutputPin::Active();
    if (FAILED(hr)) return hr;
    if (thread_.joinable()) return S_OK;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    try {
        thread_ = std::thread([this] { ThreadMain(); });
    } catch (const std::system_error&) {
        TBaseOutputPin::Inactive();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT TSourceStream::Inactive() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cv_.notify_all();
    // Decommitting wakes a thread that waits for a free buffer.
    const HRESULT hr = TBaseOutputPin::Inactive();
    if (thread_.joinable()) thread_.join();
    return hr;
}

void TSourceStream::StopThread() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cv_.notify_all();
    if (allocator_) allocator_->Decommit();
    thread_.join();
}

bool TSourceStream::StopRequested() {
    std::lock_guard lock(mutex_);
    return stop_;
}

bool TSourceStream::WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, timeout, [&] { return stop_ || pred(); });
    return !stop_ && pred();
}

void TSourceStream::Wake() {
    std::lock_guard lock(mutex_);
    cv_.notify_all();
}

void TSourceStream::ThreadMain() {
    if (FAILED(OnThreadStart())) {
        Filter()->NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
        return;
    }
    while (!StopRequested()) {
        ComPtr<IMediaSample> sample;
        if (GetDeliveryBuffer(sample.Put()) != S_OK) break;  // decommitted: the filter stops
        const HRESULT filled = FillBuffer(sample.Get());
        if (filled == S_FALSE) {
            DeliverEndOfStream();
            break;
        }
        if (FAILED(filled)) {
            Log("[" + Filter()->Name() + "] " + Name() + ": stream failed - " + ErrorText(filled));
            Filter()->NotifyEvent(EC_ERRORABORT, filled, 0);
            DeliverEndOfStream();
            break;
        }
        const HRESULT delivered = Deliver(sample.Get());
        if (delivered != S_OK) {
            // Downstream stopped (the usual order of a graph's Stop: a transform's allocator may already
            // be decommitted) or refused the sample.
            if (FAILED(delivered) && delivered != VFW_E_WRONG_STATE && delivered != VFW_E_NOT_CONNECTED &&
                delivered != VFW_E_NOT_COMMITTED)
                Log("[" + Filter()->Name() + "] " + Name() + ": delivery refused - " + ErrorText(delivered));
            break;
        }
    }
    OnThreadDestroy();
}

// ---- TSource --------------------------------------------------------------------------------------

TSource::TSource(std::string name, const CLSID& clsid) : TBaseFilter(std::move(name), clsid) {}

TSource::~TSource() {
    // Streams may not outlive the parts of the filter they were built with.
    for (auto& s : streams_) s->StopThread();
}

int TSource::GetPinCount() {
    std::lock_guard lock(filterLock_);
    return static_cast<int>(streams_.size());
}

TBasePin* TSource::GetPin(int n) {
    std::lock_guard lock(filterLock_);
    if (n < 0 || n >= static_cast<int>(streams_.size())) return nullptr;
    return streams_[n].get();
}

void TSource::AddStream(std::unique_ptr<TSourceStream> stream) {
    std::lock_guard lock(filterLock_);
    streams_.push_back(std::move(stream));
}

}  // namespace dshow
