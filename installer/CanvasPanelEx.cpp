#include "installer/CanvasPanelEx.h"

#include <QEvent>
#include <exception>

#include "installer/InstallerLog.h"

namespace hollarin {

namespace {
// Chains a re-render after the handler the base panel gave the settings object.
template <typename TSettings>
void RenderOnChange(TSettings& settings, TCanvasPanelEx& panel) {
    auto previous = settings.OnChange;
    settings.OnChange = [previous, &panel] {
        if (previous) previous();
        panel.RenderAndPaint();
    };
}
}  // namespace

TCanvasPanelEx::TCanvasPanelEx(QWidget* parent) : components::TCanvasPanelEx(parent) {
    RenderOnChange(Fill(), *this);
    RenderOnChange(ImageProp(), *this);
    RenderOnChange(CaptionProp(), *this);
    RenderOnChange(PanelMain(), *this);
    RenderOnChange(BevelProp(), *this);
    RenderOnChange(Shape(), *this);
    scrolling_ = std::make_unique<TScrolling>(
        *this, [this] { return BevelProp().bpWidth() + PanelMain().bmBorderLineWidth(); });
}

TCanvasPanelEx::~TCanvasPanelEx() = default;

void TCanvasPanelEx::SetCaption(const QString& caption) {
    components::TCanvasPanelEx::SetCaption(caption);
    RenderAndPaint();
}

void TCanvasPanelEx::RenderAndPaint() {
    if (rendering_) return;
    Render();
    repaint();
}

void TCanvasPanelEx::Render() {
    if (rendering_) return;  // rendering delivers pending resize events, which render again
    rendering_ = true;
    try {
        QImage image(size(), QImage::Format_ARGB32);
        image.fill(components::ToQColor(components::kPanelTransparentColor));
        render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        const QRgb key = components::ToQColor(components::kPanelTransparentColor).rgb();
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] == key) line[x] = 0;
        }
        offscreen_ = std::move(image);
    } catch (const std::exception& e) {
        InstallerLog("panel: " + Caption().toStdString(), std::string("rendering failed: ") + e.what());
    }
    rendering_ = false;
}

void TCanvasPanelEx::paintEvent(QPaintEvent* event) {
    // A widget cannot render itself from inside its own paint: the screen gets the same drawing
    // steps directly, so the light effect's frames show too.
    components::TCanvasPanelEx::paintEvent(event);
}

void TCanvasPanelEx::resizeEvent(QResizeEvent* event) {
    components::TCanvasPanelEx::resizeEvent(event);
    Render();
}

void TCanvasPanelEx::changeEvent(QEvent* event) {
    components::TCanvasPanelEx::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange) RenderAndPaint();
}

}  // namespace hollarin
