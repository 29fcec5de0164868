// Orbelle, the streaming sink: a renderer that copies every sample it gets (behind the "TSRQ" header
// when that is on) into its bounded queue and leaves the sending to the output of the current
// activation: a sender thread for UDP, RTP, TCP client and web-socket output, the TCP server for
// siTcpServer (listening already once the sink is set up as one, before the graph runs), nothing for
// siUdpServer. It answers IOrbelleData and IOrbelleListener, names its property page and flags itself
// as a renderer.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "platform/dshow/base_renderer.h"
#include "platform/dshow/class_factory.h"
#include "sinkfilter/if_orbelle.h"
#include "sinkfilter/output_counters.h"
#include "sinkfilter/sink_clock.h"
#include "sinkfilter/sink_queue.h"
#include "sinkfilter/sink_settings.h"

namespace sinkfilter {

class TSinkThread;
class TTcpServerOutput;

inline constexpr const char* kOrbelleFilterName = "Orbelle32";

class Orbelle final : public dshow::TBaseRenderer,
                      public IOrbelleData,
                      public IOrbelleListener,
                      public ISpecifyPropertyPages,
                      public IAMFilterMiscFlags {
public:
    // The factory's constructor: settings from the registry, the steady clock.
    static dshow::TUnknown* CreateFromFactory(HRESULT* hr);
    Orbelle(dshow::TComModule& module, std::shared_ptr<ISinkClock> clock);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return 1; }
    // Makes the input pin on first use and answers it for every index.
    dshow::TBasePin* GetPin(int n) override;
    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT DoRenderSample(IMediaSample* pSample) override;

    // IOrbelleData
    HRESULT SetupDravenel(int32_t iIpPort, int32_t iIpAddr, int32_t iIpBuffer, uint32_t bHeader, uint32_t fmtType,
                          int32_t rtpPayloadType, uint32_t iInterface) override;
    HRESULT GetStats(PDravenelStats pstats) override;
    // IOrbelleListener
    HRESULT GetListeningPort(int32_t* port) override;
    // ISpecifyPropertyPages
    HRESULT GetPages(CAUUID* pPages) override;
    // IAMFilterMiscFlags
    ULONG GetMiscFlags() override;

private:
    ~Orbelle() override;

    // The item for one sample, or nothing when the sample has no bytes to queue.
    std::optional<TSinkQueueItem> CopySample(IMediaSample* sample, LONG length);
    // A TCP server on the current address and port, listening (made again when those changed).
    void EnsureTcpServer();
    // The outputs of a stopped filter after SetupDravenel, under the filter lock.
    void ApplyStoppedOutputs();
    void ClearQueue();

    dshow::TComModule& module_;
    dshow::TComModule::TObjectToken token_;
    std::shared_ptr<ISinkClock> clock_;

    std::optional<std::chrono::steady_clock::time_point> FStartTime;
    std::unique_ptr<TSinkThread> thrdSink;
    std::vector<std::unique_ptr<TSinkThread>> retiredSenders_;  // asked to end, joined at the next Active
    std::unique_ptr<TTcpServerOutput> tcpServer_;
    std::shared_ptr<TSinkQueue> dataList;
    std::shared_ptr<TSinkOutputCounters> outputCounters_;
    std::atomic<int64_t> inpSamples_{0};
    std::atomic<int64_t> inpBytes_{0};

    // Written by SetupDravenel under the filter lock; header and format are read by every sample.
    TSinkSettings settings_;
    std::atomic<bool> fltHeader{false};
    std::atomic<uint8_t> fltFormat{ftUnk};
};

}  // namespace sinkfilter
