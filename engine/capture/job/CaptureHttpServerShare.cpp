#include "engine/capture/job/CaptureHttpServerShare.h"

#include "engine/util/path_utils.h"

namespace engine {

std::string TCaptureHttpServerShare::Root() const {
    return server_->Root.empty() ? std::string() : IncludeTrailingPathDelimiter(server_->Root);
}

}  // namespace engine
