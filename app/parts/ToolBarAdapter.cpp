#include "app/parts/ToolBarAdapter.h"

#include "common/ColourPresets.h"
#include "components/CanvasPanelEx.h"

namespace app {

TToolBarAdapter::TToolBarAdapter(TToolBarHooks hooks) : hooks_(std::move(hooks)), bar_(new TTop_Frame) {}

TToolBarAdapter::~TToolBarAdapter() { delete bar_.data(); }

void TToolBarAdapter::SetLogButtonOn(bool on) {
    components::TCanvasPanelEx& button = bar_->Log_TB();
    button.SetTag(on ? 1 : 0);
    if (on) SetPanelActive(button);
    else SetPanelNormal(button);
}

bool TToolBarAdapter::LogButtonOn() const { return bar_->Log_TB().Tag() == 1; }

}  // namespace app
