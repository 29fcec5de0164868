#include "sinkfilter/orbelle_input_pin.h"

namespace sinkfilter {

OrbelleInputPin::OrbelleInputPin(dshow::TBaseRenderer* renderer) : dshow::TRendererInputPin(renderer, "Input") {}

HRESULT OrbelleInputPin::CheckMediaType(const AM_MEDIA_TYPE* pmt) { return pmt ? S_OK : E_POINTER; }

}  // namespace sinkfilter
