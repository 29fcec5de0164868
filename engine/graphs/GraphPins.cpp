#include "engine/graphs/GraphPins.h"

namespace engine {

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction) {
    if (!filter) return {};
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.Put())) || !pins) return {};
    for (;;) {
        ComPtr<IPin> pin;
        ULONG fetched = 0;
        if (pins->Next(1, pin.Put(), &fetched) != S_OK || fetched != 1) return {};
        PIN_DIRECTION dir;
        if (SUCCEEDED(pin->QueryDirection(&dir)) && dir == direction) return pin;
    }
}

bool FindOfferedType(IPin* pin, const GUID& subtype, dshow::TMediaType& found) {
    if (!pin) return false;
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(types.Put())) || !types) return false;
    for (;;) {
        AM_MEDIA_TYPE* mt = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &mt, &fetched) != S_OK || fetched != 1 || !mt) return false;
        const bool match = mt->subtype == subtype;
        if (match) found = dshow::TMediaType(*mt);
        DeleteMediaType(mt);
        if (match) return true;
    }
}

}  // namespace engine
