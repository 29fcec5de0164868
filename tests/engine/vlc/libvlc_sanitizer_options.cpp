// Leak checking with libVLC loaded. libVLC keeps some allocations it never frees (seen: a failed
// libvlc_new; buffers of plugin libraries that are unloaded before the check). Stacks are taken with
// the slow unwinder, so they reach libVLC's own frames through plugin code built without frame
// pointers and the "libvlccore" suppression applies. Every call into libVLC goes through
// BoundVlcApi, which allocates nothing itself, so leaks below it are libVLC's too.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions() { return "leak:engine::BoundVlcApi::\n"; }
