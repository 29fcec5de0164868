// Base of every control of the component set: a QWidget with the class library's common properties
// (Tag, Color with ParentColor, the font colour) and its standard mouse events. The standard handling
// raises OnMouseDown on a press, OnClick on a left release inside the control after a left press it
// handled, then OnMouseUp; OnDblClick on a double click; OnMouseMove on every move. Entering and
// leaving raise OnMouseEnter and OnMouseLeave through CMMouseEnter and CMMouseLeave, which derived
// controls override.
#pragma once

#include <QWidget>
#include <functional>

#include "components/Color.h"

namespace components {

using TNotifyEvent = std::function<void(QWidget* sender)>;
using TMouseEvent = std::function<void(QWidget* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                       int x, int y)>;
using TMouseMoveEvent = std::function<void(QWidget* sender, Qt::KeyboardModifiers shift, int x, int y)>;

class TControl : public QWidget {
public:
    explicit TControl(QWidget* parent = nullptr);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // The control's colour: its own unless ParentColor, then its parent's.
    TColor Color() const;
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    // The mouse came in or went out (raise OnMouseEnter / OnMouseLeave).
    virtual void CMMouseEnter();
    virtual void CMMouseLeave();
    // Colour or font colour changed: repaint at the next paint cycle unless a control says otherwise.
    virtual void AppearanceChanged() { update(); }
    // For captioned controls: a new font or enabled state changes how the caption looks, so repaint.
    void SetRepaintOnFontOrEnabled(bool value) { repaintOnFontOrEnabled_ = value; }

    void RaiseMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void RaiseMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void RaiseClick();

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int tag_ = 0;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TColor fontColor_ = clBlack;
    bool clickArmed_ = false;  // a left press went through the standard handling
    bool repaintOnFontOrEnabled_ = false;
};

}  // namespace components
