#include "engine/graphs/GraphControl.h"

#include <chrono>
#include <exception>
#include <thread>

#include "engine/graphs/GraphErrorText.h"

namespace engine {
namespace {

bool IsRunning(IMediaControl* control) {
    OAFilterState state = State_Stopped;
    return SUCCEEDED(control->GetState(0, &state)) && state == State_Running;
}

}  // namespace

bool RunGraphControl(IFilterGraph* graph, IMediaControl* control) {
    if (!graph || !control || IsRunning(control)) return false;
    control->Pause();
    std::this_thread::sleep_for(std::chrono::milliseconds(kPauseBeforeRunMs));
    if (control->Run() != S_OK) {
        ComPtr<IMediaEvent> events;
        if (SUCCEEDED(graph->QueryInterface(IMediaEvent::iid, events.PutVoid())) && events) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRunSettleTimeoutMs);
            while (std::chrono::steady_clock::now() < deadline) {
                LONG code = 0;
                events->WaitForCompletion(kRunPollMs, &code);
                if (code != 0 || IsRunning(control)) break;
            }
        }
    }
    return IsRunning(control);
}

bool StopGraphControl(IMediaControl* control, std::string* failure) {
    if (!control) return false;
    OAFilterState state = State_Running;
    if (SUCCEEDED(control->GetState(0, &state)) && state == State_Stopped) return false;
    const HRESULT hr = control->StopWhenReady();
    if (FAILED(hr) && failure) *failure = HResultText(hr);
    return hr == S_OK;
}

bool RunGraph(const ComPtr<IGraphBuilder>& graph, ComPtr<IMediaControl>& control, const TGraphLog& log) {
    try {
        if (!graph) return false;
        if (!control) {
            const HRESULT hr = graph.As(control);
            if (FAILED(hr)) {
                log(HResultText(hr));
                return false;
            }
        }
        return RunGraphControl(graph.Get(), control.Get());
    } catch (const std::exception&) {
        return false;
    }
}

bool StopGraph(IMediaControl* control, const TGraphLog& log) {
    try {
        std::string failure;
        const bool stopped = StopGraphControl(control, &failure);
        if (!failure.empty()) log(failure);
        return stopped;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace engine
