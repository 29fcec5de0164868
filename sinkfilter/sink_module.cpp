#include "sinkfilter/sink_module.h"

#include "sinkfilter/filter_utils.h"
#include "sinkfilter/form_prop_edit.h"
#include "sinkfilter/host_callback.h"
#include "sinkfilter/if_orbelle.h"
#include "sinkfilter/orbelle.h"
#include "sinkfilter/qt_libraries_pin.h"

namespace sinkfilter {
namespace {

const REGPINTYPES kInputPinTypes[] = {{&GUID_NULL, &GUID_NULL}};

const REGFILTERPINS kPins[] = {{
    "Input",
    FALSE,    // rendered
    FALSE,    // output
    FALSE,    // zero
    FALSE,    // many
    nullptr,  // connects to filter
    nullptr,  // connects to pin
    1,
    kInputPinTypes,
}};

const REGFILTER2 kFilterSetup = {1, MERIT_DO_NOT_USE, 1, kPins};

const dshow::TFactoryTemplate kTemplates[] = {
    {kOrbelleFilterName, &CLSID_Orbelle, &Orbelle::CreateFromFactory, &kFilterSetup},
    {"", &CLSID_OrbellePropPage, &TFormPropEdit::CreateFromFactory, nullptr},
};

}  // namespace

dshow::TComModule& SinkModule() {
    static dshow::TComModule module;
    return module;
}

std::span<const dshow::TFactoryTemplate> SinkFactoryTemplates() { return kTemplates; }

void InitSinkLibrary() {
    SetFilterRegKey(kFilterRegKey);
    LookupHostCallback();
    PinQtLibraries();
}

}  // namespace sinkfilter
