#include "app/parts/StatusBarAdapter.h"

namespace app {

TStatusBarAdapter::TStatusBarAdapter(std::function<void(bool keepPosition)> setCompactMode)
    : setCompactMode_(std::move(setCompactMode)), bar_(new TBottom_Frame) {}

TStatusBarAdapter::~TStatusBarAdapter() { delete bar_.data(); }

void TStatusBarAdapter::ShowStatus(const TMainStatus& status) {
    TStatusBarValues values;
    values.Captures = status.Captures;
    values.AnyCaptureRunning = status.AnyCaptureRunning;
    values.KeepAwake = status.KeepAwake;
    values.WebSockets = status.WebSockets;
    values.AnyWebSocketActive = status.AnyWebSocketActive;
    values.WebServers = status.WebServers;
    values.AnyServerListening = status.AnyWebServerListening;
    bar_->ShowStatus(values);
}

}  // namespace app
