// Keeping the screen awake: while held, the desktop's screen saver and display power saving stay away
// (as if the user were active); released, the desktop's own settings apply again.
#pragma once

namespace platform {

class IKeepAwake {
public:
    virtual ~IKeepAwake() = default;
    // Called again and again (about once a second) for as long as the screen is needed; the first call
    // takes the hold, each call counts as the user's activity.
    virtual void Hold() = 0;
    // Lets go; nothing when not held.
    virtual void Release() = 0;
    virtual bool Holding() const = 0;
};

}  // namespace platform
