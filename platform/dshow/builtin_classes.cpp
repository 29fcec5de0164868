// The graph manager and the filter mapper are classes of this library, offered to CoCreateInstance
// from the moment the library is loaded until it is unloaded.
#include "platform/dshow/filter_graph.h"
#include "platform/dshow/filter_mapper.h"

namespace dshow {
namespace {

struct TBuiltinClasses {
    TBuiltinClasses() {
        CoRegisterBuiltinClass(CLSID_FilterGraph, &TFilterGraph::CreateInstance);
        CoRegisterBuiltinClass(CLSID_FilterMapper2, &TFilterMapper::CreateInstance);
    }
    ~TBuiltinClasses() {
        CoRevokeBuiltinClass(CLSID_FilterMapper2);
        CoRevokeBuiltinClass(CLSID_FilterGraph);
    }
};

const TBuiltinClasses g_builtinClasses;

}  // namespace
}  // namespace dshow
