// The value field of the capture panels and share tabs: a small text field with an optional border
// ring, an outer and an inner bevel or a graded frame, a flat, graded or ring-shaded background, a
// rectangular, rounded or elliptic shape and a caption with optional shadow. A new caption is painted
// at once (live values change several times a second); every settings change repaints at the next
// paint cycle.
#pragma once

#include <QString>
#include <memory>

#include "components/BevelProp.h"
#include "components/BorderProp.h"
#include "components/Canvas.h"
#include "components/CaptionProperty.h"
#include "components/Control.h"
#include "components/FillProperty.h"
#include "components/Frame3D.h"
#include "components/Rect.h"
#include "components/ShapeProperty.h"

namespace components {

constexpr int kBevelLabelDefaultWidth = 70;
constexpr int kBevelLabelDefaultHeight = 15;

class TBevelLabel : public TControl {
public:
    explicit TBevelLabel(QWidget* parent = nullptr);
    ~TBevelLabel() override;

    TShapeProperty& LabelShape() { return *labelShape_; }
    TBorderProp& LabelBorder() { return *labelBorder_; }
    TBevelProp& LabelBevelInner() { return *labelBevelInner_; }
    TBevelProp& LabelBevelOuter() { return *labelBevelOuter_; }
    TFillProperty& LabelFill() { return *labelFill_; }
    TCaptionProperty& CaptionProp() { return *captionProp_; }
    TFrame3D& Label3DFrame() { return *label3DFrame_; }

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintFrame(TCanvas& canvas, TRect& b);
    void PaintCaption(TCanvas& canvas, const TRect& b);

    std::unique_ptr<TShapeProperty> labelShape_;
    std::unique_ptr<TBorderProp> labelBorder_;
    std::unique_ptr<TBevelProp> labelBevelInner_;
    std::unique_ptr<TBevelProp> labelBevelOuter_;
    std::unique_ptr<TFillProperty> labelFill_;
    std::unique_ptr<TCaptionProperty> captionProp_;
    std::unique_ptr<TFrame3D> label3DFrame_;
    QString caption_;
};

}  // namespace components
