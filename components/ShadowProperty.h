// Shadow of a caption: colour and offset.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TShadowProperty : public TPersistentSettings {
public:
    TColor spColor() const { return spColor_; }
    void SetspColor(TColor value) { SetNotifying(spColor_, value); }
    int spDy() const { return spDy_; }
    void SetspDy(int value) { SetNotifying(spDy_, value); }
    int spDx() const { return spDx_; }
    void SetspDx(int value) { SetNotifying(spDx_, value); }
    bool spShadow() const { return spShadow_; }
    void SetspShadow(bool value) { SetNotifying(spShadow_, value); }

private:
    TColor spColor_ = clBlack;
    int spDy_ = 1;
    int spDx_ = 1;
    bool spShadow_ = false;
};

}  // namespace components
