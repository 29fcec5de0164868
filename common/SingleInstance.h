// One running Framewick at a time, whatever its instance number and whoever started it: a global mutex
// named "Global\" + kInstanceMutexName, and bring-to-front of the running instance's main window when
// a second start finds the mutex taken.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {
class TActivationServer;
class TGlobalMutex;
}  // namespace platform

namespace app {

inline constexpr const char* kInstanceMutexName = "Tarrowin_framewick_instance_";

class ISingleInstance {
public:
    virtual ~ISingleInstance() = default;
    // True when this process now holds the mutex and no other did; false when it exists already or
    // cannot be made (both mean another instance may run).
    virtual bool CreateInstanceMutex() = 0;
    // A second start: asks the running instance to bring its main window forward; false when it
    // could not be reached (it may still be starting, or belong to another user).
    virtual bool ShowPrevInstance() = 0;
    // The first instance, once its main window exists: showMainWindow runs on this thread for every
    // second start. False when the requests cannot be received (the program runs on without them).
    virtual bool ListenForSecondStarts(std::function<void()> showMainWindow) = 0;
    // Stops listening and releases the mutex.
    virtual void CloseInstanceMutex() = 0;
    // Why the mutex was not taken or second starts cannot be answered ("" when all went well).
    virtual std::string LastError() const = 0;
};

// The global mutex of platform/process and its activation socket, both in lockFolder.
class TSingleInstance : public ISingleInstance {
public:
    explicit TSingleInstance(std::string mutexName = kInstanceMutexName, std::string lockFolder = "");
    ~TSingleInstance() override;

    bool CreateInstanceMutex() override;
    bool ShowPrevInstance() override;
    bool ListenForSecondStarts(std::function<void()> showMainWindow) override;
    void CloseInstanceMutex() override;
    std::string LastError() const override { return lastError_; }

private:
    std::string fullName_;
    std::string lockFolder_;
    std::string lastError_;
    std::unique_ptr<platform::TGlobalMutex> mutex_;
    std::unique_ptr<platform::TActivationServer> server_;
};

}  // namespace app
