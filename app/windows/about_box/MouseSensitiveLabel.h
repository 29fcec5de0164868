// A link label: navy and bold, orange, bold and underlined while the mouse is over it. It owns the two
// looks as fonts with colours; entering and leaving give the label's own font the colour and style
// (bold, italic, underline) of one of them, keeping its family and size.
#pragma once

#include <QFont>
#include <QLabel>
#include <functional>

#include "components/Color.h"

namespace app {

class TMouseSensitiveLabel : public QLabel {
public:
    static constexpr components::TColor kNormalColor = 0x800000;  // navy
    static constexpr components::TColor kHoverColor = 0x0080FF;   // orange

    explicit TMouseSensitiveLabel(QWidget* parent = nullptr);

    struct TLook {
        QFont Font;
        components::TColor Color;
    };
    const TLook& NormalLook() const { return normal_; }
    const TLook& HoverLook() const { return hover_; }

    // Gives the label the colour and style of the look.
    void ApplyLook(const TLook& look);
    components::TColor TextColor() const;

    // A left click released over the label.
    std::function<void()> OnClick;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TLook normal_;
    TLook hover_;
};

}  // namespace app
