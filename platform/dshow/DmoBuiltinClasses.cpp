// The DMO wrapper filter and the colour-converter DMO are classes of this library, offered to
// CoCreateInstance from the moment the library is loaded until it is unloaded.
#include "platform/dshow/ColourConverterDmo.h"
#include "platform/dshow/DmoWrapperFilter.h"

namespace dshow {
namespace {

struct TDmoBuiltinClasses {
    TDmoBuiltinClasses() {
        CoRegisterBuiltinClass(CLSID_DMOWrapperFilter, &TDmoWrapperFilter::Create);
        CoRegisterBuiltinClass(CLSID_CColorConvertDMO, &TColourConverterDmo::Create);
    }
    ~TDmoBuiltinClasses() {
        CoRevokeBuiltinClass(CLSID_CColorConvertDMO);
        CoRevokeBuiltinClass(CLSID_DMOWrapperFilter);
    }
};

const TDmoBuiltinClasses g_dmoBuiltinClasses;

}  // namespace
}  // namespace dshow
