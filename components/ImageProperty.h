// Placement of a panel's picture and whether it is drawn in grey.
#pragma once

#include "components/PersistentSettings.h"

namespace components {

class TImageProperty : public TPersistentSettings {
public:
    bool ipImage() const { return ipImage_; }
    void SetipImage(bool value) { SetNotifying(ipImage_, value); }
    int ipLeft() const { return ipLeft_; }
    void SetipLeft(int value) { SetNotifying(ipLeft_, value); }
    int ipTop() const { return ipTop_; }
    void SetipTop(int value) { SetNotifying(ipTop_, value); }
    bool ipGrayScale() const { return ipGrayScale_; }
    void SetipGrayScale(bool value) { SetNotifying(ipGrayScale_, value); }

private:
    bool ipImage_ = false;
    int ipLeft_ = 0;
    int ipTop_ = 0;
    bool ipGrayScale_ = false;
};

}  // namespace components
