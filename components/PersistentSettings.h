// Base of the controls' settings objects: each visual aspect of a control is one small object that the
// control creates, publishes and frees, and whose OnChange the control sets to repaint or recompute
// itself. The setters come in three kinds:
//   notifying - when the value differs, store it and raise OnChange; an equal value does nothing;
//   switch    - store the value when it differs, then raise OnChange in any case;
//   silent    - store the value (after its clamp), no event.
// A settings object belongs to one control and never outlives it.
#pragma once

#include <functional>

namespace components {

class TPersistentSettings {
public:
    TPersistentSettings() = default;
    TPersistentSettings(const TPersistentSettings&) = delete;
    TPersistentSettings& operator=(const TPersistentSettings&) = delete;

    std::function<void()> OnChange;

protected:
    ~TPersistentSettings() = default;

    void Changed() const {
        if (OnChange) OnChange();
    }
    template <typename T>
    void SetNotifying(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    template <typename T>
    void SetSwitch(T& field, const T& value) {
        field = value;
        Changed();
    }
};

}  // namespace components
