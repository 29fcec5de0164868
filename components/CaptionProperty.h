// Caption layout of a panel or label: alignment, one line or one character per line, offsets, and
// the owned shadow, whose changes count as changes of the caption settings.
#pragma once

#include <cstdint>

#include "components/PersistentSettings.h"
#include "components/ShadowProperty.h"

namespace components {

enum TCaptionAlignment : uint8_t { caLeft, caRight, caCenter, caCustom };
// cdVertical: the caption on one line; cdHorizontal: one character per line, stacked.
enum TCaptionStyle : uint8_t { cdVertical, cdHorizontal };

class TCaptionProperty : public TPersistentSettings {
public:
    TCaptionProperty() {
        cpShadow_.OnChange = [this] { Changed(); };
    }

    TCaptionAlignment cpAlignment() const { return cpAlignment_; }
    void SetcpAlignment(TCaptionAlignment value) { SetNotifying(cpAlignment_, value); }
    TCaptionStyle cpStyle() const { return cpStyle_; }
    void SetcpStyle(TCaptionStyle value) { SetNotifying(cpStyle_, value); }
    int cpXpos() const { return cpXpos_; }
    void SetcpXpos(int value) { SetNotifying(cpXpos_, value); }
    int cpYpos() const { return cpYpos_; }
    void SetcpYpos(int value) { SetNotifying(cpYpos_, value); }
    TShadowProperty& cpShadow() { return cpShadow_; }
    const TShadowProperty& cpShadow() const { return cpShadow_; }

private:
    TCaptionAlignment cpAlignment_ = caCenter;
    TCaptionStyle cpStyle_ = cdVertical;
    int cpXpos_ = 0;
    int cpYpos_ = 0;
    TShadowProperty cpShadow_;
};

}  // namespace components
