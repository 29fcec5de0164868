// The libVLC calls a capture job makes, behind one small interface: BoundVlcApi calls the entry points
// of the process-wide binding, tests use a fake. Every call is safe when its entry point is not bound
// (it then fails) and VLM calls with no instance fail without reaching libVLC.
#pragma once

#include <string>
#include <vector>

#include "engine/vlc/VlcLib.h"

namespace engine {

class IVlcApi {
public:
    virtual ~IVlcApi() = default;

    // A new instance made with args; nullptr when libVLC refuses them or libvlc_new is not bound.
    virtual libvlc_instance_t* NewInstance(const std::vector<std::string>& args) = 0;
    virtual void ReleaseInstance(libvlc_instance_t* instance) = 0;
    // True when both broadcast add and play are bound.
    virtual bool CanBroadcast() const = 0;
    // libVLC's results: 0 success, anything else failure (-1 as well when the call is not bound).
    virtual int AddBroadcast(libvlc_instance_t* instance, const std::string& name, const std::string& input,
                             const std::string& output) = 0;
    virtual int PlayMedia(libvlc_instance_t* instance, const std::string& name) = 0;
    virtual int StopMedia(libvlc_instance_t* instance, const std::string& name) = 0;
    virtual int DeleteMedia(libvlc_instance_t* instance, const std::string& name) = 0;
    // The play rate of the broadcast's running instance; -1 when it has none (its input failed or ended).
    virtual int MediaInstanceRate(libvlc_instance_t* instance, const std::string& name) = 0;
};

}  // namespace engine
