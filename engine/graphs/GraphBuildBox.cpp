#include "engine/graphs/GraphBuildBox.h"

#include "platform/dshow/dshow_log.h"

namespace engine {

void ShowGraphBuildError(IErrorBox* box, const std::string& graphName, const std::string& text) {
    if (box)
        box->ShowError(kGraphBuildBoxCaption, text);
    else
        dshow::Log("[" + graphName + "] " + text);
}

}  // namespace engine
