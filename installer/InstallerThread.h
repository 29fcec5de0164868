// Starting a thread that frees itself: the thread holds its job (a std::shared_ptr) until the body
// has returned, the owner keeps a reference only to ask the job to end. Nothing escapes the body.
#pragma once

#include <chrono>
#include <functional>

namespace hollarin {

// Nice values of the installer's threads: the download runs a little below normal, the extraction
// lower still, so the window stays responsive.
constexpr int kDownloadThreadNice = 5;
constexpr int kUnzipThreadNice = 10;

// Runs body on a new detached thread at the given nice value. False when no thread could be made
// (body then never runs).
bool StartSelfFreeingThread(std::function<void()> body, int niceValue);

// Waits until every thread started above has let go of its job and ends without touching anything
// of the program any more, so the process may end and its static objects go. False when some still
// run after timeout.
bool WaitForSelfFreeingThreads(std::chrono::milliseconds timeout);

}  // namespace hollarin
