// The drop target over the tray icon: a 16 x 16 frameless, stay-on-top tool window without a task-bar
// button or focus that accepts dropped files and forwards what happens on it to the tray icon as the
// tray's messages (TrayMessages.h): mouse move, left and right press, left and right double click,
// files dropped, mouse entered and left. Releases are not forwarded: a click counts at the press.
//
// It shows what lay on the screen beneath it when it was placed, so it hides nothing of the tray.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace components {

class TDragDropWindow : public QWidget {
public:
    static constexpr int kSizePx = 16;

    using Forward = std::function<void(uint32_t message)>;

    TDragDropWindow();

    // Where the messages go (none: they are dropped).
    void SetForwardTarget(Forward forward) { forward_ = std::move(forward); }

    // Centres the window over the icon drawn at iconGeometry and shows it on top; an empty geometry
    // (no tray to stand in) hides it.
    void PlaceOver(const QRect& iconGeometry);
    // Above every other window again, where the desktop may have put something on top of it.
    void KeepOnTop();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Send(uint32_t message);

    Forward forward_;
    QPixmap beneath_;            // the screen under the window when it was placed
    bool filesOffered_ = false;  // the drag over the window carries files
};

}  // namespace components
