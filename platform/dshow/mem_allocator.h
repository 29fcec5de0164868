// The default sample allocator: a fixed set of buffers handed out as media samples. A sample returns
// to the allocator when its last reference goes; GetBuffer waits for a free one and is woken by
// Decommit, so a streaming thread blocked there ends promptly when its filter stops. The buffers come
// from the heap, or from a memory source that a filter gives (memory it can share with a producer).
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/media_type.h"
#include "platform/dshow/unknown.h"

namespace dshow {

class TMemAllocator;

// One sample buffer from a memory source: Free (when set) gives it back when the sample goes.
struct TSampleMemory {
    BYTE* Data = nullptr;
    size_t Size = 0;
    std::function<void()> Free;
};
// Makes a buffer of the given size; Data stays null when it cannot.
using TSampleMemorySource = std::function<TSampleMemory(size_t bytes)>;
// The default source: zero-filled memory from the heap.
TSampleMemory HeapSampleMemory(size_t bytes);

class TMediaSample final : public IMediaSample {
public:
    TMediaSample(TMemAllocator* owner, TSampleMemory memory);
    ~TMediaSample();
    TMediaSample(const TMediaSample&) = delete;
    TMediaSample& operator=(const TMediaSample&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetPointer(BYTE** ppBuffer) override;
    LONG GetSize() override;
    HRESULT GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    HRESULT SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    HRESULT IsSyncPoint() override;
    HRESULT SetSyncPoint(BOOL bIsSyncPoint) override;
    HRESULT IsPreroll() override;
    HRESULT SetPreroll(BOOL bIsPreroll) override;
    LONG GetActualDataLength() override;
    HRESULT SetActualDataLength(LONG length) override;
    HRESULT GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
    HRESULT SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
    HRESULT IsDiscontinuity() override;
    HRESULT SetDiscontinuity(BOOL bDiscontinuity) override;
    HRESULT GetMediaTime(int64_t* pTimeStart, int64_t* pTimeEnd) override;
    HRESULT SetMediaTime(int64_t* pTimeStart, int64_t* pTimeEnd) override;

    // Back to the state of a fresh buffer (called by the allocator when the sample comes home).
    void ResetProperties();

private:
    TMemAllocator* owner_;
    std::atomic<ULONG> refs_{0};
    TSampleMemory memory_;
    LONG actual_ = 0;
    bool hasStart_ = false, hasStop_ = false;
    REFERENCE_TIME start_ = 0, stop_ = 0;
    bool hasMediaTime_ = false;
    int64_t mediaStart_ = 0, mediaStop_ = 0;
    bool sync_ = false, preroll_ = false, discontinuity_ = false;
    std::unique_ptr<TMediaType> type_;
};

class TMemAllocator final : public IMemAllocator, public TUnknown {
public:
    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
    HRESULT GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
    HRESULT Commit() override;
    HRESULT Decommit() override;
    HRESULT GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                      DWORD dwFlags) override;
    HRESULT ReleaseBuffer(IMediaSample* pBuffer) override;

    // Makes a new allocator with one reference; its buffers come from source, or from the heap.
    static ComPtr<IMemAllocator> Create(TSampleMemorySource source = {});

private:
    explicit TMemAllocator(TSampleMemorySource source) : source_(std::move(source)) {}
    ~TMemAllocator() override = default;

    TSampleMemorySource source_;
    std::mutex mutex_;
    std::condition_variable freed_;
    ALLOCATOR_PROPERTIES props_{0, 0, 1, 0};
    bool committed_ = false;
    bool propsChanged_ = true;
    size_t outstanding_ = 0;
    std::vector<std::unique_ptr<TMediaSample>> all_;
    std::vector<TMediaSample*> free_;
};

}  // namespace dshow
