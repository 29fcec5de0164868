#include "platform/filters/SharedFrameMemory.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <map>
#include <mutex>

namespace platform {
namespace {

struct TSegment {
    int Id;
    size_t Bytes;
};

std::mutex g_segmentsMutex;
std::map<const uint8_t*, TSegment>& Segments() {
    static std::map<const uint8_t*, TSegment> segments;
    return segments;
}

}  // namespace

uint8_t* AllocateSharedFrame(size_t bytes) {
    if (bytes == 0) return nullptr;
    const int id = ::shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return nullptr;
    void* addr = ::shmat(id, nullptr, 0);
    // Linux lets a segment marked for removal be attached still (the display server does so later),
    // and a process that ends without freeing leaves nothing behind.
    ::shmctl(id, IPC_RMID, nullptr);
    if (addr == reinterpret_cast<void*>(-1)) return nullptr;
    auto* data = static_cast<uint8_t*>(addr);
    try {
        std::lock_guard lock(g_segmentsMutex);
        Segments()[data] = TSegment{id, bytes};
    } catch (...) {
        ::shmdt(addr);
        return nullptr;
    }
    return data;  // a new segment reads as zeros
}

void FreeSharedFrame(uint8_t* data) {
    if (!data) return;
    {
        std::lock_guard lock(g_segmentsMutex);
        Segments().erase(data);
    }
    ::shmdt(data);
}

int SharedFrameSegment(const uint8_t* data, size_t bytes) {
    std::lock_guard lock(g_segmentsMutex);
    const auto it = Segments().find(data);
    return it != Segments().end() && it->second.Bytes >= bytes ? it->second.Id : -1;
}

}  // namespace platform
