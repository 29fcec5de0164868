// The status bar (TBottom_Frame) as the main window sees it.
#pragma once

#include <QPointer>
#include <functional>

#include "app/mainform/MainFormParts.h"
#include "app/windows/toolbar/BottomFrame.h"

namespace app {

class TStatusBarAdapter final : public IStatusBar {
public:
    // setCompactMode: the main window's SetCompactMode, for the bar's compact-mode button.
    explicit TStatusBarAdapter(std::function<void(bool keepPosition)> setCompactMode);
    ~TStatusBarAdapter() override;

    QWidget* Widget() override { return bar_; }
    void InitStatusBar() override { bar_->InitStatusBar(setCompactMode_); }
    void ShowStatus(const TMainStatus& status) override;
    void LightDataLed(intptr_t notifyKind) override { bar_->ShowCaptureNotify(notifyKind); }

    TBottom_Frame& Bar() { return *bar_; }

private:
    std::function<void(bool)> setCompactMode_;
    QPointer<TBottom_Frame> bar_;
};

}  // namespace app
