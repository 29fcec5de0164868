// Outline of a label or LED; the rounded rectangle's corner ellipse is shEdge x shEdge.
#pragma once

#include "components/GraphTypes.h"
#include "components/PersistentSettings.h"

namespace components {

class TShapeProperty : public TPersistentSettings {
public:
    TPanelShape shShape() const { return shShape_; }
    void SetshShape(TPanelShape value) { SetNotifying(shShape_, value); }
    int shEdge() const { return shEdge_; }
    void SetshEdge(int value) { SetNotifying(shEdge_, value); }

private:
    TPanelShape shShape_ = psRect;
    int shEdge_ = 5;
};

}  // namespace components
