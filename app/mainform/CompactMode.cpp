#include "app/mainform/CompactMode.h"

#include <algorithm>

#include "app/settings/registry_store.h"
#include "engine/settings/settings_store.h"
#include "engine/util/monitors.h"

namespace app {

int BarHeight(const QWidget* bar) {
    return bar != nullptr ? std::max({bar->minimumHeight(), bar->sizeHint().height(), 0}) : 0;
}

void TCompactMode::Toggle(QWidget* toolBar, QWidget* statusBar, bool keepPosition) {
    if (!on_) {
        on_ = true;
        if (toolBar) toolBar->setVisible(false);
        panels_.setVisible(false);
        savedHeight_ = window_.height();
        window_.setFixedHeight(std::max(1, BarHeight(statusBar)));
        RegWriteInstBool("lumora_min", true);
        return;
    }
    WriteFormOrigin("lumora_main_min", window_.x(), window_.y());
    on_ = false;
    if (toolBar) toolBar->setVisible(true);
    panels_.setVisible(true);
    window_.setFixedHeight(savedHeight_);
    RegWriteInstBool("lumora_min", false);
    if (engine::Settings()->CenterApp && !keepPosition) {
        const platform::TPoint origin = engine::GetMonitorCenterPos(engine::GetMonitorIndexAt(window_.x(), window_.y()),
                                                                    window_.width(), window_.height());
        window_.move(origin.X, origin.Y);
    }
}

void TCompactMode::RestoreSaved(bool ready, QWidget* toolBar, QWidget* statusBar) {
    // A start that waits (a capture graph starting) lets the restore's one-shot fire inside it: the
    // start's end then brings the compact mode back.
    if (!ready) {
        restoreDue_ = true;
        return;
    }
    restoreDue_ = false;
    if (RegReadInstBool("lumora_min", false) && !on_) Toggle(toolBar, statusBar, false);
}

void TCompactMode::StartUpDone(QWidget* toolBar, QWidget* statusBar) {
    if (restoreDue_) RestoreSaved(true, toolBar, statusBar);
}

}  // namespace app
