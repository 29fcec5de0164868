// The main window's compact mode: only the status bar is left. Entering keeps the window's height for
// the way back; the registry ("lumora_min") keeps the mode for the next start, whose start-up brings it
// back once its own steps are done.
#pragma once

#include <QWidget>

namespace app {

// A bar of fixed height has no size hint of its own: its minimum height is its height (0 for none).
int BarHeight(const QWidget* bar);

class TCompactMode {
public:
    // window: the main window; panels: its scroll box of capture panels.
    TCompactMode(QWidget& window, QWidget& panels) : window_(window), panels_(panels) {}

    bool On() const { return on_; }
    // Enters or leaves the mode (toolBar and statusBar may be none). Leaving centres the window on its
    // monitor when CenterApp is set, unless keepPosition.
    void Toggle(QWidget* toolBar, QWidget* statusBar, bool keepPosition);
    // The mode saved at the last closing comes back: now when ready, else once Restore is called.
    void RestoreSaved(bool ready, QWidget* toolBar, QWidget* statusBar);
    // The start-up's steps are done: a restore that had to wait happens now.
    void StartUpDone(QWidget* toolBar, QWidget* statusBar);

private:
    QWidget& window_;
    QWidget& panels_;
    bool on_ = false;
    bool restoreDue_ = false;  // asked for before the start-up's steps were done
    int savedHeight_ = 0;
};

}  // namespace app
