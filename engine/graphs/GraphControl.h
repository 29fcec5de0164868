// Running and stopping a built graph, the same way for every graph of the engine.
#pragma once

#include <functional>
#include <string>

#include "platform/dshow/dshow.h"

namespace engine {

constexpr int kPauseBeforeRunMs = 100;   // between Pause and Run
constexpr int kRunPollMs = 100;          // one wait for the running state
constexpr int kRunSettleTimeoutMs = 5000;  // the longest wait for it

// Already running: false, nothing changed. Otherwise Pause (a failure is ignored), kPauseBeforeRunMs,
// Run; when Run did not answer S_OK, waits on the graph's events in kRunPollMs steps until an event
// arrives, the graph runs or kRunSettleTimeoutMs have passed. True when the graph now runs.
bool RunGraphControl(IFilterGraph* graph, IMediaControl* control);

// Already stopped: false. Otherwise StopWhenReady; true only when it answered S_OK. A failure puts
// the error text into *failure.
bool StopGraphControl(IMediaControl* control, std::string* failure);

using TGraphLog = std::function<void(const std::string& text)>;

// RunGraphControl on graph's media control, queried once into control (a failed query is logged).
// False on no graph; exceptions end here.
bool RunGraph(const ComPtr<IGraphBuilder>& graph, ComPtr<IMediaControl>& control, const TGraphLog& log);
// StopGraphControl with its failure logged; exceptions end here.
bool StopGraph(IMediaControl* control, const TGraphLog& log);

}  // namespace engine
