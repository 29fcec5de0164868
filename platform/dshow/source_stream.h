// Source filters: each output pin (a stream) runs one streaming thread while the filter is active;
// the thread fills a buffer from the pin's allocator and delivers it downstream until it is told to
// stop, FillBuffer reports the end of the stream or downstream refuses a sample.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/base_output_pin.h"

namespace dshow {

class TSource;

class TSourceStream : public TBaseOutputPin {
public:
    TSourceStream(TSource* filter, std::string name);
    ~TSourceStream() override;

    HRESULT Active() override;
    HRESULT Inactive() override;

    // Ends the streaming thread and waits for it (Inactive does this; so does the owning filter).
    void StopThread();

protected:
    // Fills one sample: S_OK to deliver it, S_FALSE at the end of the stream (end of stream goes
    // downstream), a failure ends the stream with EC_ERRORABORT. Runs on the streaming thread and may
    // touch only the stream's own state.
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    virtual HRESULT OnThreadStart() { return S_OK; }
    virtual void OnThreadDestroy() {}

    bool StopRequested();
    // Waits until pred holds (true), or a stop was requested or the time is up (false). pred is
    // evaluated under the stream's own lock; whoever changes what it reads calls Wake afterwards.
    bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout);
    void Wake();

private:
    void ThreadMain();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool stop_ = false;
};

class TSource : public TBaseFilter {
public:
    TSource(std::string name, const CLSID& clsid);

    int GetPinCount() override;
    TBasePin* GetPin(int n) override;

protected:
    ~TSource() override;
    // The filter owns its streams; add them in the constructor of the derived filter.
    void AddStream(std::unique_ptr<TSourceStream> stream);

private:
    std::vector<std::unique_ptr<TSourceStream>> streams_;
};

}  // namespace dshow
