// Finding a filter's pins and the media types a pin offers.
#pragma once

#include <vector>

#include "platform/dshow/dshow.h"
#include "platform/dshow/media_type.h"

namespace engine {

// The filter's first pin of that direction in its enumeration order; empty when it has none.
ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction);
// The first media type the pin offers whose subtype is `subtype`; empty (GUID_NULL major) when none.
bool FindOfferedType(IPin* pin, const GUID& subtype, dshow::TMediaType& found);

}  // namespace engine
