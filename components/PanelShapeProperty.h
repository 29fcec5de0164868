// Outline of the captioned panel; the rounded rectangle's corner ellipse is shEdgeX x shEdgeY.
#pragma once

#include "components/GraphTypes.h"
#include "components/PersistentSettings.h"

namespace components {

class TPanelShapeProperty : public TPersistentSettings {
public:
    TPanelShape shShape() const { return shShape_; }
    void SetshShape(TPanelShape value) { SetNotifying(shShape_, value); }
    int shEdgeX() const { return shEdgeX_; }
    void SetshEdgeX(int value) { SetNotifying(shEdgeX_, value); }
    int shEdgeY() const { return shEdgeY_; }
    void SetshEdgeY(int value) { SetNotifying(shEdgeY_, value); }

private:
    TPanelShape shShape_ = psRect;
    int shEdgeX_ = 5;
    int shEdgeY_ = 5;
};

}  // namespace components
