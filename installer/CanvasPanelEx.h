// Hollarin's captioned panel (title strip and buttons): the component set's panel, rendered whole into
// an offscreen bitmap (transparent outside its shape) and repainted at once whenever a settings
// object, the caption, the font or the enabled state changes, and carrying a scrolling facility.
#pragma once

#include <QImage>
#include <memory>

#include "components/CanvasPanelEx.h"
#include "installer/Scrolling.h"

namespace hollarin {

class TCanvasPanelEx : public components::TCanvasPanelEx {
public:
    explicit TCanvasPanelEx(QWidget* parent = nullptr);
    ~TCanvasPanelEx() override;

    TScrolling& Scrolling() { return *scrolling_; }
    void SetCaption(const QString& caption);

    // Renders and repaints at once; does nothing while a rendering runs.
    void RenderAndPaint();
    // The last rendering (the last change or resize): the panel's look, transparent outside its shape.
    const QImage& Offscreen() const { return offscreen_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Render();

    std::unique_ptr<TScrolling> scrolling_;
    QImage offscreen_;
    bool rendering_ = false;
};

}  // namespace hollarin
