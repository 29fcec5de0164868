// A stand-in for the sink filter, offered under CLSID_Orbelle as a built-in class: a renderer that
// records what SetupDravenel was told and keeps the media type it was connected with.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/dshow/base_renderer.h"
#include "sinkfilter/if_orbelle.h"

namespace fw_test {

struct TSetupCall {
    int32_t Port = 0, Addr = 0, Buffer = 0;
    uint32_t Header = 0, Format = 0;
    int32_t Rtp = -1;
    uint32_t Interface = 0;
};

class TFakeSink final : public dshow::TBaseRenderer, public IOrbelleData {
public:
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv) {
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* sink = new TFakeSink();
        last_ = sink;
        ++created_;
        return dshow::QueryNewObject(sink, riid, ppv);
    }
    static TFakeSink* Last() { return last_; }
    // How many were made; a freed sink's successor may take its address, so tests count instead.
    static int Created() { return created_; }

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
        if (riid == IOrbelleData::iid) return dshow::GetInterface(static_cast<IOrbelleData*>(this), ppv);
        return TBaseRenderer::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT SetupDravenel(int32_t port, int32_t addr, int32_t buffer, uint32_t header, uint32_t format, int32_t rtp,
                          uint32_t iface) override {
        std::lock_guard lock(mutex_);
        setup_ = TSetupCall{port, addr, buffer, header, format, rtp, iface};
        return S_OK;
    }
    HRESULT GetStats(PDravenelStats) override { return E_NOTIMPL; }

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override { return pmt ? S_OK : E_POINTER; }
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt) override {
        std::lock_guard lock(mutex_);
        subtype_ = pmt->subtype;
        return S_OK;
    }
    HRESULT DoRenderSample(IMediaSample* sample) override {
        bytes_ = sample->GetActualDataLength();
        ++samples_;
        return S_OK;
    }

    TSetupCall Setup() {
        std::lock_guard lock(mutex_);
        return setup_;
    }
    GUID Subtype() {
        std::lock_guard lock(mutex_);
        return subtype_;
    }
    long Samples() const { return samples_.load(); }
    long LastBytes() const { return bytes_.load(); }

private:
    TFakeSink() : TBaseRenderer(CLSID_Orbelle, "Fake Sink") {}
    static inline TFakeSink* last_ = nullptr;  // for the test's eyes only; the graph owns the object
    static inline int created_ = 0;
    std::mutex mutex_;
    TSetupCall setup_;
    GUID subtype_ = GUID_NULL;
    std::atomic<long> samples_{0}, bytes_{0};
};

}  // namespace fw_test
