// Base of transform filters (one input, one output; a converter or a wrapped media object): the input
// pin's samples go through Transform into a buffer of the output pin's allocator and on downstream,
// on the upstream streaming thread. The output pin connects only after the input pin has.
#pragma once

#include <memory>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/base_input_pin.h"
#include "platform/dshow/base_output_pin.h"

namespace dshow {

class TTransformFilter;

class TTransformInputPin : public TBaseInputPin {
public:
    TTransformInputPin(TTransformFilter* filter, std::string name);

    HRESULT Receive(IMediaSample* pSample) override;
    HRESULT EndOfStream() override;
    HRESULT BeginFlush() override;
    HRESULT EndFlush() override;
    HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT BreakConnect() override;

    const TMediaType& CurrentType() const { return mt_; }

private:
    TTransformFilter* transform_;
};

class TTransformOutputPin : public TBaseOutputPin {
public:
    TTransformOutputPin(TTransformFilter* filter, std::string name);

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT GetMediaType(int position, TMediaType* mt) override;
    HRESULT SetMediaType(const AM_MEDIA_TYPE* pmt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT BreakConnect() override;

    const TMediaType& CurrentType() const { return mt_; }

private:
    TTransformFilter* transform_;
};

class TTransformFilter : public TBaseFilter {
public:
    TTransformFilter(std::string name, const CLSID& clsid);

    int GetPinCount() override { return 2; }
    // 0 is the input pin ("XForm In"), 1 the output pin ("XForm Out"); both made on first use.
    TBasePin* GetPin(int n) override;

    HRESULT Stop() override;
    HRESULT Pause() override;

    // What a transform decides.
    virtual HRESULT CheckInputType(const AM_MEDIA_TYPE* in) = 0;
    virtual HRESULT CheckTransform(const AM_MEDIA_TYPE* in, const AM_MEDIA_TYPE* out) = 0;
    // The output types offered for the connected input type.
    virtual HRESULT GetMediaType(int position, TMediaType* mt) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    // Fills `out` from `in`; S_FALSE drops the sample.
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) = 0;
    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE* pmt);
    virtual HRESULT BreakConnect(PIN_DIRECTION direction);
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }

    // Called by the input pin under its receive lock.
    virtual HRESULT Receive(IMediaSample* pSample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

    TTransformInputPin* InputPin();
    TTransformOutputPin* OutputPin();

protected:
    ~TTransformFilter() override;

private:
    void MakePins();

    std::unique_ptr<TTransformInputPin> input_;
    std::unique_ptr<TTransformOutputPin> output_;
};

}  // namespace dshow
