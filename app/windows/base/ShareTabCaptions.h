// The captions of the share status tabs as the capture-service editor rewrites them: after a share was
// edited (its protocol may have changed) and after a share before it was deleted (the numbers move up).
#pragma once

#include <QString>
#include <cstdint>

#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

// The caption without its last four characters, then " HLS" for an HTTP share or " UDP" for a UDP share.
QString EditedShareTabCaption(const QString& caption, uint8_t protocol);
// "[" + position + "]" + what followed the first "]" of the caption (the whole caption when it has none).
QString RenumberedShareTabCaption(const QString& caption, int position);

// The capture panel's status tabs of one job's shares, as the editor reaches them.
class IShareTabs {
public:
    virtual ~IShareTabs() = default;
    // False when the share has no status tab.
    virtual bool TabCaption(const engine::TCaptureStreamer& share, QString& caption) const = 0;
    virtual void SetTabCaption(const engine::TCaptureStreamer& share, const QString& caption) = 0;
    // Frees the tab sheet of a share that was deleted.
    virtual void FreeTab(const engine::TCaptureStreamer& share) = 0;
};

}  // namespace app
