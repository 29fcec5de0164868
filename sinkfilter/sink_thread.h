// The sender of one activation of the filter (UDP, RTP, TCP client and web-socket outputs): a thread
// that moves the queued items onto the network chunk by chunk. During its first two seconds, and in
// every turn in which its output is not ready, it empties the queue instead. The filter asks it to end
// (Terminate, which returns at once and ends every wait of the thread) and joins it later; the thread
// shares the queue and the counters with the filter. It runs at the lowest priority.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/dshow/class_factory.h"
#include "sinkfilter/host_callback.h"
#include "sinkfilter/output_counters.h"
#include "sinkfilter/sender_io.h"
#include "sinkfilter/sink_clock.h"
#include "sinkfilter/sink_output.h"
#include "sinkfilter/sink_queue.h"

namespace sinkfilter {

inline constexpr std::chrono::seconds kDiscardWindow{2};
inline constexpr std::chrono::milliseconds kChunkPauseMs{1};
inline constexpr std::chrono::milliseconds kPassPauseMs{10};

struct TSinkThreadParams {
    std::string ipAddr;  // dotted IPv4
    uint16_t ipPort;
    int32_t ipBuffer;  // as set; the chunk size is derived from it
    uint8_t interfaceKind;
    int32_t rtpPayloadType;
};

// Makes the output of the sender on the sender's own loop.
using TOutputFactory = std::function<std::unique_ptr<TSinkOutput>(TSenderIo& io)>;

// The network output for the parameters (null for kinds without one).
TOutputFactory NetworkOutputFactory(const TSinkThreadParams& params, std::shared_ptr<ISinkClock> clock);

class TSinkThread {
public:
    TSinkThread(TOutputFactory makeOutput, std::shared_ptr<TSinkQueue> queue,
                std::shared_ptr<TSinkOutputCounters> counters, std::shared_ptr<ISinkClock> clock,
                THostCallback callback, dshow::TComModule& module);
    // Terminates and waits for the thread.
    ~TSinkThread();
    TSinkThread(const TSinkThread&) = delete;
    TSinkThread& operator=(const TSinkThread&) = delete;

    void Terminate();

private:
    struct TState;
    static void Execute(const std::shared_ptr<TState>& state);
    static void SendItem(TState& state, TSinkOutput& output, const TSinkQueueItem& item);

    std::shared_ptr<TState> state_;
    std::thread thread_;
};

}  // namespace sinkfilter
