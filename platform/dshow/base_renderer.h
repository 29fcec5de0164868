// Base of renderers: one input pin; Active() when the filter leaves Stopped with the pin connected,
// Inactive() when it stops; every sample goes to DoRenderSample on the upstream streaming thread, one
// at a time and in arrival order, at its presentation time on the reference clock (at once without a
// clock or time stamps). While paused the first sample is held until Run; Stop or a flush releases a
// held or waiting sample at once.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/base_input_pin.h"

namespace dshow {

class TBaseRenderer;

class TRendererInputPin : public TBaseInputPin {
public:
    TRendererInputPin(TBaseRenderer* renderer, std::string name);

    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;

private:
    TBaseRenderer* renderer_;
};

class TBaseRenderer : public TBaseFilter {
public:
    TBaseRenderer(const CLSID& clsid, std::string name);

    HRESULT Stop() override;
    HRESULT Pause() override;
    HRESULT Run(REFERENCE_TIME tStart) override;

    int GetPinCount() override { return 1; }
    // Makes the default input pin ("In") on first use.
    TBasePin* GetPin(int n) override;

    // What a renderer decides.
    virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) = 0;
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt);
    virtual HRESULT DoRenderSample(IMediaSample* pSample) = 0;
    virtual HRESULT Active();
    virtual HRESULT Inactive();
    virtual HRESULT CompleteConnect(IPin* receivePin);
    virtual HRESULT BreakConnect();

    // Called by the input pin (under its receive lock).
    HRESULT Receive(IMediaSample* pSample);
    HRESULT EndOfStream();
    HRESULT BeginFlush();
    HRESULT EndFlush();

protected:
    ~TBaseRenderer() override;

    std::unique_ptr<TRendererInputPin> inputPin_;
    // The renderer lock: taken by derived renderers around their own work on a sample.
    std::recursive_mutex rendererLock_;

private:
    // Waits until the sample is due; S_OK to render, another code to refuse it.
    HRESULT WaitForRenderTime(bool timed, REFERENCE_TIME sampleStart);

    std::mutex waitMutex_;
    std::condition_variable waitCv_;
    bool flushing_ = false;
    bool endOfStreamPending_ = false;
    bool active_ = false;
    REFERENCE_TIME runStart_ = 0;
    ComPtr<IReferenceClock> runClock_;
};

}  // namespace dshow
