#include "engine/settings/program_state.h"

namespace engine {

std::recursive_mutex& GlobalLock() {
    // Never destroyed: threads that end after main may still release it.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

}  // namespace engine
