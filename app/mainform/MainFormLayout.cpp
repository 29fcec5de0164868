// The main window's layout: the log window and its button, the height that follows the panels and
// stays on the screen, the compact mode that leaves only the status bar, the panels minimised or
// expanded together, and the snapping to the screen's edges.
#include "app/mainform/MainForm.h"

#include <QMoveEvent>
#include <exception>

#include "app/mainform/ScreenSnap.h"
#include "engine/util/monitors.h"

namespace app {

void TLumora_MainForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    const QRect outer = frameGeometry();
    const QPoint centre = outer.center();
    const std::optional<platform::TRect> area = engine::GetNearestMonitorWorkArea({centre.x(), centre.y()});
    if (!area) return;
    const platform::TPoint snapped =
        SnapToEdges(platform::MakeRect(outer.x(), outer.y(), outer.width(), outer.height()), *area);
    if (snapped != platform::TPoint{outer.x(), outer.y()}) move(snapped.X, snapped.Y);
    workAreaFit_->FitBelowTop();
}

void TLumora_MainForm::ToggleLogWindow() {
    const bool on = toolBar_ && toolBar_->LogButtonOn();
    if (on && options_.Parts.LogWindowMinimized && options_.Parts.LogWindowMinimized()) {
        if (options_.Parts.ShowLogWindow) options_.Parts.ShowLogWindow(true);
        return;
    }
    ShowLogWindow(!on);
}

void TLumora_MainForm::ShowLogWindow(bool show) {
    if (options_.Parts.ShowLogWindow) options_.Parts.ShowLogWindow(show);
    if (toolBar_) toolBar_->SetLogButtonOn(show);
}

void TLumora_MainForm::AdjustHeight() {
    if (compact_->On()) return;
    int panels = 0;
    for (const auto& [entry, panel] : captures_->Panels()) panels += panel->Widget()->height();
    workAreaFit_->Fit(BarHeight(ToolBarWidget()) + BarHeight(StatusBarWidget()) +
                      (panels > 0 ? panels : kEmptyScrollBoxHeightPx));
}

void TLumora_MainForm::FocusStatusBar() {
    if (statusBar_) statusBar_->Widget()->setFocus();
}

// Back from compact mode the window grows again: it is kept on the screen as every growing window is.
void TLumora_MainForm::SetCompactMode(bool keepPosition) {
    compact_->Toggle(ToolBarWidget(), StatusBarWidget(), keepPosition);
    if (!compact_->On()) AdjustHeight();
}

bool TLumora_MainForm::AnyPanelExpanded() const {
    for (const auto& entry : captures_->List().Items())
        if (!entry->Minimized) return true;
    return false;
}

void TLumora_MainForm::SetAllPanelsMinimized(bool minimize) {
    scrollBox_->setVisible(false);
    for (const auto& entry : captures_->List().Items())
        if (ICapturePanel* panel = captures_->PanelOf(*entry); panel != nullptr && entry->Minimized != minimize) {
            try {
                panel->ToggleMinimized();
            } catch (const std::exception& e) {
                WriteLog(std::string("General error : ") + e.what(), engine::kLogError);
            }
        }
    scrollBox_->setVisible(true);
}
}  // namespace app
