#include "common/SingleInstance.h"

#include "platform/process/ActivationProtocol.h"
#include "platform/process/ActivationRequest.h"
#include "platform/process/ActivationServer.h"
#include "platform/process/GlobalMutex.h"

namespace app {

TSingleInstance::TSingleInstance(std::string mutexName, std::string lockFolder)
    : fullName_("Global\\" + std::move(mutexName)),
      lockFolder_(lockFolder.empty() ? platform::GlobalLockFolder() : std::move(lockFolder)) {}

TSingleInstance::~TSingleInstance() { CloseInstanceMutex(); }

bool TSingleInstance::CreateInstanceMutex() {
    mutex_ = std::make_unique<platform::TGlobalMutex>(fullName_, lockFolder_);
    if (mutex_->Owned()) return true;
    lastError_ = mutex_->Error();
    mutex_.reset();
    return false;
}

bool TSingleInstance::ShowPrevInstance() {
    return platform::RequestActivation(platform::ActivationServerName(fullName_, lockFolder_));
}

bool TSingleInstance::ListenForSecondStarts(std::function<void()> showMainWindow) {
    if (!mutex_) return false;  // only the holder of the mutex may take over the socket's name
    server_ = std::make_unique<platform::TActivationServer>(std::move(showMainWindow));
    if (server_->Listen(platform::ActivationServerName(fullName_, lockFolder_), &lastError_)) return true;
    server_.reset();
    return false;
}

void TSingleInstance::CloseInstanceMutex() {
    server_.reset();
    mutex_.reset();
}

}  // namespace app
