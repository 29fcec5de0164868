// Building a graph and the message box it shows when its build failed or raised, the same for every
// graph of the engine.
#pragma once

#include <functional>
#include <string>

#include "engine/graphs/ErrorBox.h"

namespace engine {

constexpr const char* kGraphBuildFailedText = "Error: DirectX-Filtergraph initialization";
constexpr const char* kGraphBuildRaisedText = "General Error: DirectX-Filtergraph initialization";
constexpr const char* kGraphBuildBoxCaption = "Framewick";

// Shows text in box with the caption "Framewick"; without a box the line goes to the filter layer's log,
// prefixed with the graph's name ("[WebSocketFilterGraph] ...").
void ShowGraphBuildError(IErrorBox* box, const std::string& graphName, const std::string& text);

enum class TGraphBuildOutcome { Built, Failed, Raised };

// Runs build; when it raises, release runs and the outcome is Raised. Exceptions end here.
TGraphBuildOutcome BuildGraphGuarded(const std::function<bool()>& build, const std::function<void()>& release);

// BuildGraphGuarded, then kGraphBuildFailedText or kGraphBuildRaisedText through ShowGraphBuildError when
// the graph was not built. True when it was.
bool InitGraphShowingErrors(IErrorBox* box, const std::string& graphName, const std::function<bool()>& build,
                            const std::function<void()>& release);

}  // namespace engine
