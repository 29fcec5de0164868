#include "components/IconSequence.h"

namespace components {

void TIconSequence::SetIsOn(bool on) {
    on_ = on;
    Changed();
}

void TIconSequence::SetIsInterval(int intervalMs) {
    if (intervalMs == intervalMs_) return;
    intervalMs_ = intervalMs;
    Changed();
}

void TIconSequence::Assign(const TIconSequence& other) {
    SetIsOn(other.isOn());
    SetIsSequences(other.isSequences());
    SetIsInterval(other.isInterval());
    SetIsIconResName(other.isIconResName());
}

void TIconSequence::Changed() {
    if (OnChange) OnChange();
}

}  // namespace components
