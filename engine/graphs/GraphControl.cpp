#include "engine/graphs/GraphControl.h"

#include <chrono>
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

}  // namespace engine
