// The message box a graph shows when its build failed or raised, the same for every graph of the engine.
#pragma once

#include <string>

#include "engine/graphs/ErrorBox.h"

namespace engine {

constexpr const char* kGraphBuildFailedText = "Error: DirectX-Filtergraph initialization";
constexpr const char* kGraphBuildRaisedText = "General Error: DirectX-Filtergraph initialization";
constexpr const char* kGraphBuildBoxCaption = "Framewick";

// Shows text in box with the caption "Framewick"; without a box the line goes to the filter layer's log,
// prefixed with the graph's name ("[WebSocketFilterGraph] ...").
void ShowGraphBuildError(IErrorBox* box, const std::string& graphName, const std::string& text);

}  // namespace engine
