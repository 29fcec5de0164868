// IVlcApi over the entry points resolved by LoadVlcFunctions (VlcLib.h).
#pragma once

#include <mutex>
#include <set>

#include "engine/vlc/VlcApi.h"

namespace engine {

class BoundVlcApi : public IVlcApi {
public:
    libvlc_instance_t* NewInstance(const std::vector<std::string>& args) override;
    void ReleaseInstance(libvlc_instance_t* instance) override;
    bool CanBroadcast() const override;
    int AddBroadcast(libvlc_instance_t* instance, const std::string& name, const std::string& input,
                     const std::string& output) override;
    int PlayMedia(libvlc_instance_t* instance, const std::string& name) override;
    int StopMedia(libvlc_instance_t* instance, const std::string& name) override;
    int DeleteMedia(libvlc_instance_t* instance, const std::string& name) override;
    int MediaInstanceRate(libvlc_instance_t* instance, const std::string& name) override;

private:
    // libvlc_vlm_release crashes on an instance whose broadcast manager never started (libVLC 3.0),
    // so only instances that made a broadcast call have it released.
    void NoteVlmUsed(libvlc_instance_t* instance);
    bool TakeVlmUsed(libvlc_instance_t* instance);

    std::mutex mutex_;
    std::set<libvlc_instance_t*> vlmInstances_;
};

}  // namespace engine
