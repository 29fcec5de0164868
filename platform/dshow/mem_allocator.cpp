#include "platform/dshow/mem_allocator.h"

#include <algorithm>
#include <new>

namespace dshow {

// ---- TMediaSample ------------------------------------------------------------------------------------

TSampleMemory HeapSampleMemory(size_t bytes) {
    BYTE* data = new (std::nothrow) BYTE[bytes]();
    if (!data) return {};
    return TSampleMemory{data, bytes, [data] { delete[] data; }};
}

TMediaSample::TMediaSample(TMemAllocator* owner, TSampleMemory memory) : owner_(owner), memory_(std::move(memory)) {}

TMediaSample::~TMediaSample() {
    if (memory_.Free) memory_.Free();
}

HRESULT TMediaSample::QueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IMediaSample) return GetInterface(static_cast<IMediaSample*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG TMediaSample::AddRef() { return ++refs_; }

ULONG TMediaSample::Release() {
    const ULONG left = --refs_;
    if (left == 0) owner_->ReleaseBuffer(this);
    return left;
}

HRESULT TMediaSample::GetPointer(BYTE** ppBuffer) {
    if (!ppBuffer) return E_POINTER;
    *ppBuffer = memory_.Data;
    return S_OK;
}

LONG TMediaSample::GetSize() { return static_cast<LONG>(memory_.Size); }

HRESULT TMediaSample::GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
    if (!pTimeStart || !pTimeEnd) return E_POINTER;
    if (!hasStart_) return VFW_E_SAMPLE_TIME_NOT_SET;
    *pTimeStart = start_;
    if (!hasStop_) {
        *pTimeEnd = start_ + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *pTimeEnd = stop_;
    return S_OK;
}

HRESULT TMediaSample::SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
    hasStart_ = pTimeStart != nullptr;
    hasStop_ = hasStart_ && pTimeEnd != nullptr;
    start_ = hasStart_ ? *pTimeStart : 0;
    stop_ = hasStop_ ? *pTimeEnd : 0;
    return S_OK;
}

HRESULT TMediaSample::IsSyncPoint() { return sync_ ? S_OK : S_FALSE; }
HRESULT TMediaSample::SetSyncPoint(BOOL b) {
    sync_ = b != 0;
    return S_OK;
}
HRESULT TMediaSample::IsPreroll() { return preroll_ ? S_OK : S_FALSE; }
HRESULT TMediaSample::SetPreroll(BOOL b) {
    preroll_ = b != 0;
    return S_OK;
}
LONG TMediaSample::GetActualDataLength() { return actual_; }

HRESULT TMediaSample::SetActualDataLength(LONG length) {
    if (length < 0 || static_cast<size_t>(length) > memory_.Size) return VFW_E_BUFFER_OVERFLOW;
    actual_ = length;
    return S_OK;
}

HRESULT TMediaSample::GetMediaType(AM_MEDIA_TYPE** ppMediaType) {
    if (!ppMediaType) return E_POINTER;
    *ppMediaType = nullptr;
    if (!type_) return S_FALSE;
    *ppMediaType = CreateMediaType(type_->get());
    return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

HRESULT TMediaSample::SetMediaType(AM_MEDIA_TYPE* pMediaType) {
    if (!pMediaType) {
        type_.reset();
        return S_OK;
    }
    type_.reset(new (std::nothrow) TMediaType(*pMediaType));
    return type_ ? S_OK : E_OUTOFMEMORY;
}

HRESULT TMediaSample::IsDiscontinuity() { return discontinuity_ ? S_OK : S_FALSE; }
HRESULT TMediaSample::SetDiscontinuity(BOOL b) {
    discontinuity_ = b != 0;
    return S_OK;
}

HRESULT TMediaSample::GetMediaTime(int64_t* pTimeStart, int64_t* pTimeEnd) {
    if (!pTimeStart || !pTimeEnd) return E_POINTER;
    if (!hasMediaTime_) return VFW_E_MEDIA_TIME_NOT_SET;
    *pTimeStart = mediaStart_;
    *pTimeEnd = mediaStop_;
    return S_OK;
}

HRESULT TMediaSample::SetMediaTime(int64_t* pTimeStart, int64_t* pTimeEnd) {
    hasMediaTime_ = pTimeStart && pTimeEnd;
    mediaStart_ = hasMediaTime_ ? *pTimeStart : 0;
    mediaStop_ = hasMediaTime_ ? *pTimeEnd : 0;
    return S_OK;
}

void TMediaSample::ResetProperties() {
    actual_ = 0;
    hasStart_ = hasStop_ = hasMediaTime_ = false;
    sync_ = preroll_ = discontinuity_ = false;
    type_.reset();
}

// ---- TMemAllocator -----------------------------------------------------------------------------------

ComPtr<IMemAllocator> TMemAllocator::Create(TSampleMemorySource source) {
    ComPtr<IMemAllocator> a;
    QueryNewObject(new (std::nothrow) TMemAllocator(std::move(source)), IID_IMemAllocator, a.PutVoid());
    return a;
}

HRESULT TMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IUnknown || riid == IID_IMemAllocator) return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
}

HRESULT TMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) {
    if (!pRequest || !pActual) return E_POINTER;
    std::lock_guard lock(mutex_);
    if (committed_) return VFW_E_ALREADY_COMMITTED;
    if (outstanding_ > 0) return VFW_E_BUFFERS_OUTSTANDING;
    if (pRequest->cbAlign < 0 || pRequest->cBuffers < 0 || pRequest->cbBuffer < 0 || pRequest->cbPrefix < 0)
        return E_INVALIDARG;
    props_.cBuffers = pRequest->cBuffers;
    props_.cbBuffer = pRequest->cbBuffer;
    props_.cbAlign = pRequest->cbAlign > 0 ? pRequest->cbAlign : 1;
    props_.cbPrefix = pRequest->cbPrefix;
    propsChanged_ = true;
    *pActual = props_;
    return S_OK;
}

HRESULT TMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* pProps) {
    if (!pProps) return E_POINTER;
    std::lock_guard lock(mutex_);
    *pProps = props_;
    return S_OK;
}

HRESULT TMemAllocator::Commit() {
    std::lock_guard lock(mutex_);
    if (committed_) return S_OK;
    if (props_.cBuffers <= 0 || props_.cbBuffer <= 0) return VFW_E_SIZENOTSET;
    if (propsChanged_ && outstanding_ == 0) {
        free_.clear();
        all_.clear();
        try {
            all_.reserve(static_cast<size_t>(props_.cBuffers));  // nothing below throws once a buffer is made
            free_.reserve(static_cast<size_t>(props_.cBuffers));
            for (LONG i = 0; i < props_.cBuffers; ++i) {
                const size_t bytes = static_cast<size_t>(props_.cbBuffer);
                TSampleMemory memory = source_ ? source_(bytes) : HeapSampleMemory(bytes);
                if (!memory.Data) throw std::bad_alloc();
                // The allocation comes before the argument is moved: on failure the buffer is still ours.
                auto* sample = new (std::nothrow) TMediaSample(this, std::move(memory));
                if (!sample) {
                    if (memory.Free) memory.Free();
                    throw std::bad_alloc();
                }
                all_.emplace_back(sample);
                free_.push_back(sample);
            }
        } catch (const std::bad_alloc&) {
            free_.clear();
            all_.clear();
            return E_OUTOFMEMORY;
        }
        propsChanged_ = false;
    }
    committed_ = true;
    return S_OK;
}

HRESULT TMemAllocator::Decommit() {
    std::lock_guard lock(mutex_);
    committed_ = false;
    freed_.notify_all();
    return S_OK;
}

HRESULT TMemAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME*, REFERENCE_TIME*, DWORD) {
    if (!ppBuffer) return E_POINTER;
    *ppBuffer = nullptr;
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [this] { return !committed_ || !free_.empty(); });
    if (!committed_) return VFW_E_NOT_COMMITTED;
    TMediaSample* s = free_.back();
    free_.pop_back();
    ++outstanding_;
    NonDelegatingAddRef();  // a sample out keeps its allocator alive
    s->AddRef();
    *ppBuffer = s;
    return S_OK;
}

HRESULT TMemAllocator::ReleaseBuffer(IMediaSample* pBuffer) {
    if (!pBuffer) return E_POINTER;
    auto* s = static_cast<TMediaSample*>(pBuffer);
    {
        std::lock_guard lock(mutex_);
        const bool ours = std::any_of(all_.begin(), all_.end(), [s](const auto& p) { return p.get() == s; });
        if (!ours) return E_INVALIDARG;
        s->ResetProperties();
        free_.push_back(s);
        --outstanding_;
        freed_.notify_one();
    }
    NonDelegatingRelease();
    return S_OK;
}

}  // namespace dshow
