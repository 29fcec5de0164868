// The end of the desktop session as this platform tells it: SIGTERM (log-out, shutdown, a kill),
// SIGINT (Ctrl+C in a terminal) and SIGHUP (the terminal went away). The handler only writes the
// signal's number into a pipe; a socket notifier reads it on the user-interface thread and hands it to
// OnSignal there, which runs the program's own closing. One object per process.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace app {

class TSessionEndSignals {
public:
    // Holds the signals back from the first line of main until the object exists: one that comes
    // while the program starts waits for it instead of ending the process unclosed.
    static void HoldUntilInstalled();

    // Takes the signals held back since HoldUntilInstalled, if any, once their handler is in place.
    explicit TSessionEndSignals(std::function<void(int signal)> onSignal);
    // The handlers that were there before come back.
    ~TSessionEndSignals();
    TSessionEndSignals(const TSessionEndSignals&) = delete;
    TSessionEndSignals& operator=(const TSessionEndSignals&) = delete;

    // False when the pipe or a handler could not be set up (the signals then end the program as before).
    bool Installed() const { return installed_; }

private:
    void ReadSignals();

    std::function<void(int signal)> onSignal_;
    int readFd_ = -1;
    int writeFd_ = -1;
    bool installed_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace app
