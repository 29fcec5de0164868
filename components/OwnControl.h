// Windowed base of the custom-painted controls: adds the drag mode. With HitTest other than htNone a
// left press on the control does not go through the standard handling (no mouse-down event, no click)
// but drags a window: the control itself (htSelf), its parent (htParent) or the active top-level
// window (htForm), following the mouse until the button is released. The release then raises
// OnMouseUp at (0, 0), as the end of a window move does. A top-level window is moved by the window
// manager where it offers that (_NET_WM_MOVERESIZE: it follows the pointer itself, keeps the window on
// its screens as it does for its own moves, and may keep the release); without one the control moves
// the window itself.
#pragma once

#include <QPoint>
#include <QPointer>

#include "components/BevelTypes.h"
#include "components/Control.h"

namespace components {

class TOwnControl : public TControl {
public:
    explicit TOwnControl(QWidget* parent = nullptr);

    THitTest HitTest() const { return hitTest_; }
    void SetHitTest(THitTest value) { hitTest_ = value; }
    // A left press arrived while a drag mode was set; cleared when the drag ends.
    bool Pressed() const { return pressed_; }

protected:
    // The window a drag moves under the current drag mode (none for htNone).
    QWidget* DragTarget();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    THitTest hitTest_ = htNone;
    bool pressed_ = false;
    QPointer<QWidget> dragTarget_;
    QPoint dragStartCursor_;  // global position of the press
    QPoint dragStartPos_;     // the target's position at the press
};

}  // namespace components
