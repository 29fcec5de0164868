// Two functions the program exports for outside modules that look for them by name; nothing in the
// program calls them and they return at once. Linked as objects into the program, which must export
// its symbols (ENABLE_EXPORTS) for them to be found.
#define FW_EXPORT extern "C" __attribute__((visibility("default")))

FW_EXPORT void GetLoopCallback() {}
FW_EXPORT void StopPlayCallback() {}
