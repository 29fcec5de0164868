#include "engine/vlc/BoundVlcApi.h"

namespace engine {
namespace {
constexpr int kNotBound = -1;
}

libvlc_instance_t* BoundVlcApi::NewInstance(const std::vector<std::string>& args) {
    const auto create = VlcFunctions().libvlc_new;
    if (create == nullptr) return nullptr;
    std::vector<const char*> argv;
    argv.reserve(args.size());
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    return create(static_cast<int>(argv.size()), argv.data());
}

void BoundVlcApi::ReleaseInstance(libvlc_instance_t* instance) {
    const auto release = VlcFunctions().libvlc_release;
    if (instance == nullptr || release == nullptr) return;
    // Without this the broadcast manager's thread outlives the instance.
    const auto releaseVlm = VlcFunctions().libvlc_vlm_release;
    if (TakeVlmUsed(instance) && releaseVlm != nullptr) releaseVlm(instance);
    release(instance);
}

void BoundVlcApi::NoteVlmUsed(libvlc_instance_t* instance) {
    std::lock_guard lock(mutex_);
    vlmInstances_.insert(instance);
}

bool BoundVlcApi::TakeVlmUsed(libvlc_instance_t* instance) {
    std::lock_guard lock(mutex_);
    return vlmInstances_.erase(instance) > 0;
}

bool BoundVlcApi::CanBroadcast() const {
    return VlcFunctions().libvlc_vlm_add_broadcast != nullptr && VlcFunctions().libvlc_vlm_play_media != nullptr;
}

int BoundVlcApi::AddBroadcast(libvlc_instance_t* instance, const std::string& name, const std::string& input,
                              const std::string& output) {
    const auto add = VlcFunctions().libvlc_vlm_add_broadcast;
    if (instance == nullptr || add == nullptr) return kNotBound;
    NoteVlmUsed(instance);  // every broadcast call starts the manager
    // No options, enabled, no loop.
    return add(instance, name.c_str(), input.c_str(), output.c_str(), 0, nullptr, 1, 0);
}

int BoundVlcApi::PlayMedia(libvlc_instance_t* instance, const std::string& name) {
    const auto play = VlcFunctions().libvlc_vlm_play_media;
    if (instance == nullptr || play == nullptr) return kNotBound;
    NoteVlmUsed(instance);
    return play(instance, name.c_str());
}

int BoundVlcApi::StopMedia(libvlc_instance_t* instance, const std::string& name) {
    const auto stop = VlcFunctions().libvlc_vlm_stop_media;
    if (instance == nullptr || stop == nullptr) return kNotBound;
    NoteVlmUsed(instance);
    return stop(instance, name.c_str());
}

int BoundVlcApi::DeleteMedia(libvlc_instance_t* instance, const std::string& name) {
    const auto del = VlcFunctions().libvlc_vlm_del_media;
    if (instance == nullptr || del == nullptr) return kNotBound;
    NoteVlmUsed(instance);
    return del(instance, name.c_str());
}

int BoundVlcApi::MediaInstanceRate(libvlc_instance_t* instance, const std::string& name) {
    const auto rate = VlcFunctions().libvlc_vlm_get_media_instance_rate;
    if (instance == nullptr || rate == nullptr) return kNotBound;
    NoteVlmUsed(instance);
    return rate(instance, name.c_str(), 0);
}

}  // namespace engine
