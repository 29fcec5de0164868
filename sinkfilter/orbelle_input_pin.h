// The sink's input pin "Input": accepts every media type, so any upstream output pin connects.
#pragma once

#include "platform/dshow/base_renderer.h"

namespace sinkfilter {

class OrbelleInputPin final : public dshow::TRendererInputPin {
public:
    explicit OrbelleInputPin(dshow::TBaseRenderer* renderer);
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* pmt) override;
};

}  // namespace sinkfilter
