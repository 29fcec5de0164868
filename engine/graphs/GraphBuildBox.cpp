#include "engine/graphs/GraphBuildBox.h"

#include "platform/dshow/dshow_log.h"

namespace engine {

void ShowGraphBuildError(IErrorBox* box, const std::string& graphName, const std::string& text) {
    if (box)
        box->ShowError(kGraphBuildBoxCaption, text);
    else
        dshow::Log("[" + graphName + "] " + text);
}

TGraphBuildOutcome BuildGraphGuarded(const std::function<bool()>& build, const std::function<void()>& release) {
    try {
        return build() ? TGraphBuildOutcome::Built : TGraphBuildOutcome::Failed;
    } catch (...) {  // whatever a filter's code throws, not only the standard exceptions
        release();
        return TGraphBuildOutcome::Raised;
    }
}

bool InitGraphShowingErrors(IErrorBox* box, const std::string& graphName, const std::function<bool()>& build,
                            const std::function<void()>& release) {
    switch (BuildGraphGuarded(build, release)) {
    case TGraphBuildOutcome::Built:
        return true;
    case TGraphBuildOutcome::Failed:
        ShowGraphBuildError(box, graphName, kGraphBuildFailedText);
        return false;
    case TGraphBuildOutcome::Raised:
        ShowGraphBuildError(box, graphName, kGraphBuildRaisedText);
        return false;
    }
    return false;
}

}  // namespace engine
