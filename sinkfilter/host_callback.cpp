#include "sinkfilter/host_callback.h"

#include <dlfcn.h>

#include <atomic>

namespace sinkfilter {
namespace {
std::atomic<THostCallback> g_callback{nullptr};
}

void LookupHostCallback() {
    void* self = ::dlopen(nullptr, RTLD_NOW);
    if (!self) return;
    g_callback = reinterpret_cast<THostCallback>(::dlsym(self, "DataOutputIpCallBack"));
    ::dlclose(self);
}

THostCallback HostCallback() { return g_callback.load(); }

}  // namespace sinkfilter
