#include "sinkfilter/orbelle.h"

#include <cmath>
#include <cstring>
#include <new>

#include "platform/dshow/dshow_log.h"
#include "platform/dshow/media_type.h"
#include "sinkfilter/host_callback.h"
#include "sinkfilter/ip_address.h"
#include "sinkfilter/orbelle_input_pin.h"
#include "sinkfilter/sample_header.h"
#include "sinkfilter/sink_module.h"
#include "sinkfilter/sink_thread.h"
#include "sinkfilter/tcp_server_output.h"

namespace sinkfilter {
namespace {

// Floating-point division rounded to the nearest integer, halves to the even one.
int64_t RoundedRatio(int64_t numerator, int64_t denominator) {
    return static_cast<int64_t>(std::nearbyint(static_cast<double>(numerator) / static_cast<double>(denominator)));
}

}  // namespace

dshow::TUnknown* Orbelle::CreateFromFactory(HRESULT* hr) {
    auto* filter = new (std::nothrow) Orbelle(SinkModule(), SteadySinkClock());
    if (hr) *hr = filter ? S_OK : E_OUTOFMEMORY;
    return filter;
}

Orbelle::Orbelle(dshow::TComModule& module, std::shared_ptr<ISinkClock> clock)
    : dshow::TBaseRenderer(CLSID_Orbelle, kOrbelleFilterName),
      module_(module),
      token_(module),
      clock_(std::move(clock)),
      dataList(std::make_shared<TSinkQueue>()),
      outputCounters_(std::make_shared<TSinkOutputCounters>()),
      settings_(LoadSinkSettings()) {
    fltHeader = settings_.header;
    fltFormat = settings_.format;
}

Orbelle::~Orbelle() {
    // Senders and the server go first: they use the queue until they have stopped.
    if (thrdSink) thrdSink->Terminate();
    thrdSink.reset();
    retiredSenders_.clear();
    tcpServer_.reset();
    ClearQueue();
}

HRESULT Orbelle::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IOrbelleData) return dshow::GetInterface(static_cast<IOrbelleData*>(this), ppv);
    if (riid == IID_IOrbelleListener) return dshow::GetInterface(static_cast<IOrbelleListener*>(this), ppv);
    if (riid == IID_ISpecifyPropertyPages) return dshow::GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    if (riid == IID_IAMFilterMiscFlags) return dshow::GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    return dshow::TBaseRenderer::NonDelegatingQueryInterface(riid, ppv);
}

dshow::TBasePin* Orbelle::GetPin(int) {
    std::lock_guard lock(filterLock_);
    if (!inputPin_) inputPin_ = std::make_unique<OrbelleInputPin>(this);
    return inputPin_.get();
}

HRESULT Orbelle::CheckMediaType(const AM_MEDIA_TYPE* pmt) { return pmt ? S_OK : E_POINTER; }
HRESULT Orbelle::SetMediaType(const AM_MEDIA_TYPE* pmt) { return pmt ? S_OK : E_POINTER; }

void Orbelle::EnsureTcpServer() {
    const std::string address = IpToDotted(settings_.ipAddr);
    const auto port = static_cast<uint16_t>(settings_.ipPort);
    // A server that could not listen tries again: the port may be free by now.
    if (tcpServer_ && tcpServer_->Listening() && tcpServer_->Address() == address && tcpServer_->Port() == port) return;
    tcpServer_.reset();  // frees the old port before the new server binds
    tcpServer_ = std::make_unique<TTcpServerOutput>(address, port, dataList, HostCallback(), module_);
}

HRESULT Orbelle::Active() {
    std::lock_guard lock(filterLock_);
    if (thrdSink) {
        thrdSink->Terminate();
        retiredSenders_.push_back(std::move(thrdSink));
    }
    // Senders of earlier activations were asked to end and finish promptly; their ports are free then.
    retiredSenders_.clear();

    FStartTime = clock_->Now();
    inpSamples_ = 0;
    inpBytes_ = 0;
    outputCounters_ = std::make_shared<TSinkOutputCounters>();

    try {
        switch (settings_.interfaceKind) {
            case siTcpServer:
                EnsureTcpServer();
                tcpServer_->SetCounters(outputCounters_);
                break;
            case siUdpClient:
            case siTcpClient:
            case siRtp:
            case siWebSocket: {
                const TSinkThreadParams params{IpToDotted(settings_.ipAddr), static_cast<uint16_t>(settings_.ipPort),
                                               settings_.ipBuffer, settings_.interfaceKind, settings_.rtpPayloadType};
                thrdSink = std::make_unique<TSinkThread>(NetworkOutputFactory(params, clock_), dataList,
                                                         outputCounters_, clock_, HostCallback(), module_);
                break;
            }
            default:  // siUdpServer, or a stored kind that does not exist: nothing is sent
                break;
        }
    } catch (const std::exception& e) {
        dshow::Log(std::string("[Orbelle32] the network output cannot start: ") + e.what());
    }
    return dshow::TBaseRenderer::Active();
}

HRESULT Orbelle::Inactive() {
    std::lock_guard lock(filterLock_);
    if (thrdSink) {
        thrdSink->Terminate();
        retiredSenders_.push_back(std::move(thrdSink));
    }
    tcpServer_.reset();
    return dshow::TBaseRenderer::Inactive();
}

std::optional<TSinkQueueItem> Orbelle::CopySample(IMediaSample* sample, LONG length) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data) return std::nullopt;
    if (length <= 0) return std::nullopt;

    TSinkQueueItem item = dataList->TakeSpareBuffer();
    if (!fltHeader) {
        item.assign(data, data + length);
        return item;
    }
    std::optional<TSampleTimes> times;
    REFERENCE_TIME start = 0, stop = 0;
    // A sample with a start time only (VFW_S_NO_STOP_TIME) reports its stop as start + 1.
    if (SUCCEEDED(sample->GetTime(&start, &stop))) times = TSampleTimes{start, stop};

    dshow::TMediaType connection;
    const VIDEOINFOHEADER* video = nullptr;
    if (fltFormat == ftVidVp8 && inputPin_ && inputPin_->ConnectionMediaType(connection.get()) == S_OK &&
        connection->formattype == FORMAT_VideoInfo)
        video = connection.FormatAs<VIDEOINFOHEADER>();

    const TSinkSampleHeader header = BuildSampleHeader(static_cast<uint32_t>(length), times, video);
    item.reserve(header.size() + static_cast<size_t>(length));
    item.assign(header.begin(), header.end());
    item.insert(item.end(), data, data + length);
    return item;
}

HRESULT Orbelle::DoRenderSample(IMediaSample* pSample) {
    if (!pSample) return E_POINTER;
    std::optional<TSinkQueueItem> item;
    {
        std::lock_guard lock(rendererLock_);
        BYTE* data = nullptr;
        if (FAILED(pSample->GetPointer(&data)) || !data) return S_OK;
        // The buffer's size bounds what an upstream filter may claim as its data length.
        const LONG length = std::max<LONG>(0, std::min(pSample->GetActualDataLength(), pSample->GetSize()));
        inpBytes_ += length;
        inpSamples_ += 1;
        try {
            item = CopySample(pSample, length);
        } catch (const std::bad_alloc&) {
            dshow::Log("[Orbelle32] out of memory: sample of " + std::to_string(length) + " bytes dropped");
            return S_OK;
        }
    }
    if (item) dataList->PushNewest(std::move(*item));
    return S_OK;
}

HRESULT Orbelle::SetupDravenel(int32_t iIpPort, int32_t iIpAddr, int32_t iIpBuffer, uint32_t bHeader,
                               uint32_t fmtType, int32_t rtpPayloadType, uint32_t iInterface) {
    std::lock_guard lock(filterLock_);
    settings_ = SettingsFromSetup(iIpPort, iIpAddr, iIpBuffer, bHeader, fmtType, rtpPayloadType, iInterface);
    fltHeader = settings_.header;
    fltFormat = settings_.format;
    // A running output is not changed. A stopped filter has afterwards exactly the outputs these
    // settings ask for: a TCP server listens from now on (a reader that connects before the graph runs
    // is kept), any other kind lets go of the server and of the ports of earlier senders.
    if (State() == State_Stopped) ApplyStoppedOutputs();
    return S_OK;
}

void Orbelle::ApplyStoppedOutputs() {
    retiredSenders_.clear();  // asked to end already: they close their sockets and are joined here
    if (settings_.interfaceKind != siTcpServer) {
        tcpServer_.reset();
        return;
    }
    try {
        EnsureTcpServer();
    } catch (const std::exception& e) {
        dshow::Log(std::string("[Orbelle32] the TCP server cannot start: ") + e.what());
    }
}

HRESULT Orbelle::GetStats(PDravenelStats pstats) {
    if (!pstats) return S_FALSE;
    std::memset(pstats, 0, sizeof *pstats);
    std::shared_ptr<TSinkOutputCounters> out;
    std::optional<std::chrono::steady_clock::time_point> started;
    {
        std::lock_guard lock(filterLock_);
        out = outputCounters_;
        started = FStartTime;
    }
    if (!started) return S_OK;
    const int64_t inSamples = inpSamples_.load();
    const int64_t inBytes = inpBytes_.load();
    pstats->InpSamples = inSamples;
    pstats->InpBytes = inBytes;
    if (inSamples > 0) pstats->InpSampleSize = static_cast<int32_t>(RoundedRatio(inBytes, inSamples));
    const int64_t runTime = std::chrono::duration_cast<std::chrono::seconds>(clock_->Now() - *started).count();
    pstats->runTime = runTime;
    const int64_t outBytes = out->bytes.load();
    const int64_t outSamples = out->samples.load();
    if (runTime != 0) {
        pstats->InpDatarate = static_cast<int32_t>(RoundedRatio(inBytes, runTime));
        pstats->OutpDataRate = static_cast<int32_t>(RoundedRatio(outBytes, runTime));
    }
    pstats->OutpBytes = outBytes;
    pstats->OutpSamples = outSamples;
    if (outSamples > 0) pstats->OutpSampleSize = static_cast<int32_t>(RoundedRatio(outBytes, outSamples));
    return S_OK;
}

HRESULT Orbelle::GetListeningPort(int32_t* port) {
    if (!port) return E_POINTER;
    std::lock_guard lock(filterLock_);
    const bool listening = settings_.interfaceKind == siTcpServer && tcpServer_ && tcpServer_->Listening();
    *port = listening ? tcpServer_->Port() : 0;
    return listening ? S_OK : S_FALSE;
}

HRESULT Orbelle::GetPages(CAUUID* pPages) {
    if (!pPages) return E_POINTER;
    pPages->cElems = 0;
    pPages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pPages->pElems) return E_OUTOFMEMORY;
    pPages->pElems[0] = CLSID_OrbellePropPage;
    pPages->cElems = 1;
    return S_OK;
}

ULONG Orbelle::GetMiscFlags() { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

void Orbelle::ClearQueue() { dataList->Clear(); }

}  // namespace sinkfilter
