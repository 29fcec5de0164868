// The area picker: a translucent navy rectangle without caption that the user drags and sizes over the
// desktop (mouse, or arrow keys: move by a pixel, with Ctrl size by a pixel). It shows its own left,
// top, width and height; Escape or a double click closes it, and the caller reads its geometry then.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPoint>
#include <QTimer>

namespace app {

constexpr int kAreaAlpha = 100;          // of 255
constexpr int kAreaInitialWidth = 494;
constexpr int kAreaInitialHeight = 334;
constexpr int kAreaLabelTickMs = 100;

class TWndArea_Form : public QDialog {
public:
    explicit TWndArea_Form(QWidget* parent = nullptr);

    int StartLeft = 0;
    int StartTop = 0;

    // Starts the label timer, centres the middle panel and moves to StartLeft, StartTop.
    void FormShow();
    // The labels' texts from the window's current geometry (the timer's tick).
    void UpdateLabels();

    QFrame* CanvasPanelEx1;
    QFrame* Main_Panel;
    QLabel* L_Label;
    QLabel* T_Label;
    QLabel* W_Label;
    QLabel* H_Label;
    QTimer Pos_Timer;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void CentreMainPanel();

    bool dragging_ = false;
    QPoint dragOffset_;  // cursor position inside the window when the drag began
};

}  // namespace app
