// Qt is not built with ThreadSanitizer, so the sanitizer cannot see the synchronisation inside Qt's
// event queue: an object made on one thread and handed to another through a posted event looks
// unsynchronised to it. The sending thread marks the object handed over before it posts, the
// receiving thread marks it taken over before it reads it. In other builds the marks are nothing.
#pragma once

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace platform {

inline void MarkHandedOver([[maybe_unused]] void* object) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(object);
#endif
}

inline void MarkTakenOver([[maybe_unused]] void* object) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(object);
#endif
}

}  // namespace platform
