#include "engine/capture/settings/ScreenCaptureParams.h"

namespace engine {

void SetDefaultParams(TScreenCaptureParams& params) { params = TScreenCaptureParams{}; }

}  // namespace engine
