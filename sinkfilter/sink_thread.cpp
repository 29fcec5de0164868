#include "sinkfilter/sink_thread.h"

#include "platform/dshow/dshow_log.h"
#include "platform/thread/ThreadPriority.h"
#include "sinkfilter/sink_settings.h"
#include "sinkfilter/tcp_client_output.h"
#include "sinkfilter/udp_output.h"
#include "sinkfilter/websocket_output.h"

namespace sinkfilter {

struct TSinkThread::TState {
    TState(TOutputFactory f, std::shared_ptr<TSinkQueue> q, std::shared_ptr<TSinkOutputCounters> c,
           std::shared_ptr<ISinkClock> k, THostCallback cb, dshow::TComModule& module)
        : makeOutput(std::move(f)), queue(std::move(q)), counters(std::move(c)), clock(std::move(k)), callback(cb),
          token(module) {}

    TSenderIo io;
    TOutputFactory makeOutput;
    std::shared_ptr<TSinkQueue> queue;
    std::shared_ptr<TSinkOutputCounters> counters;
    std::shared_ptr<ISinkClock> clock;
    THostCallback callback;
    dshow::TComModule::TObjectToken token;  // a live sender keeps the library loaded
};

TOutputFactory NetworkOutputFactory(const TSinkThreadParams& params, std::shared_ptr<ISinkClock> clock) {
    return [params, clock](TSenderIo& io) -> std::unique_ptr<TSinkOutput> {
        const size_t chunk = EffectiveChunkSize(params.interfaceKind, params.ipBuffer);
        switch (params.interfaceKind) {
            case siUdpClient:
                return std::make_unique<TUdpOutput>(io, params.ipAddr, params.ipPort, chunk, std::nullopt, clock);
            case siRtp:
                return std::make_unique<TUdpOutput>(io, params.ipAddr, params.ipPort, chunk,
                                                    TRtpFraming{params.rtpPayloadType}, clock);
            case siTcpClient:
                return std::make_unique<TTcpClientOutput>(io, params.ipAddr, params.ipPort, chunk);
            case siWebSocket:
                return std::make_unique<TWebSocketOutput>(io, params.ipAddr, params.ipPort, chunk);
            default:
                return nullptr;
        }
    };
}

TSinkThread::TSinkThread(TOutputFactory makeOutput, std::shared_ptr<TSinkQueue> queue,
                         std::shared_ptr<TSinkOutputCounters> counters, std::shared_ptr<ISinkClock> clock,
                         THostCallback callback, dshow::TComModule& module)
    : state_(std::make_shared<TState>(std::move(makeOutput), std::move(queue), std::move(counters), std::move(clock),
                                      callback, module)) {
    thread_ = std::thread([state = state_] {
        platform::SetThisThreadLowestPriority();
        Execute(state);
    });
}

TSinkThread::~TSinkThread() {
    Terminate();
    if (thread_.joinable()) thread_.join();
}

void TSinkThread::Terminate() { state_->io.RequestStop(); }

void TSinkThread::Execute(const std::shared_ptr<TState>& state) {
    TSenderIo& io = state->io;
    std::unique_ptr<TSinkOutput> output = state->makeOutput(io);
    if (!output) return;
    const auto start = state->clock->Now();
    while (!io.StopRequested()) {
        bool discard = state->clock->Now() - start < kDiscardWindow;
        const TOutputState ready = output->Prepare();
        if (ready == TOutputState::Failed) break;
        if (ready == TOutputState::NotReady) discard = true;
        if (discard) {
            state->queue->Clear();
        } else {
            // One item at a time: the queue is free for the streaming thread while the item goes out.
            while (!io.StopRequested()) {
                std::optional<TSinkQueueItem> item = state->queue->PopFront();
                if (!item) break;
                SendItem(*state, *output, *item);
                state->queue->ReturnSpareBuffer(std::move(*item));
            }
        }
        if (!io.Pause(kPassPauseMs)) break;
    }
    // The output's sockets go here, on this thread; the loop runs no handler after this.
    output.reset();
}

void TSinkThread::SendItem(TState& state, TSinkOutput& output, const TSinkQueueItem& item) {
    const size_t size = item.size();
    state.counters->bytes += static_cast<int64_t>(size);
    const size_t payload = output.PayloadPerChunk();
    const size_t fullChunks = size / payload;
    const size_t rest = size % payload;
    // A chunk that fails is dropped without moving on: the next chunk starts at the same bytes.
    size_t offset = 0;
    auto sendChunk = [&](size_t length) {
        if (output.SendChunk(item.data() + offset, length)) {
            offset += length;
            state.counters->samples += 1;
        }
        return state.io.Pause(kChunkPauseMs);
    };
    for (size_t i = 0; i < fullChunks; ++i)
        if (!sendChunk(payload)) return;
    if (rest > 0 && !sendChunk(rest)) return;
    if (size > 0 && state.callback) state.callback(static_cast<int32_t>(size));
}

}  // namespace sinkfilter
