// The animation settings of the tray icon: frames are the icon resources named isIconResName + "_1" ..
// "_" + isSequences, shown isInterval milliseconds each. isOn notifies on every set, isInterval when it
// changes; isSequences and isIconResName only store (they are read at the next frame).
#pragma once

#include <QString>
#include <functional>

namespace components {

class TIconSequence {
public:
    static constexpr int kDefaultSequences = 2;
    static constexpr int kDefaultIntervalMs = 100;

    bool isOn() const { return on_; }
    void SetIsOn(bool on);
    int isSequences() const { return sequences_; }
    void SetIsSequences(int count) { sequences_ = count; }
    int isInterval() const { return intervalMs_; }
    void SetIsInterval(int intervalMs);
    const QString& isIconResName() const { return iconResName_; }
    void SetIsIconResName(const QString& name) { iconResName_ = name; }

    // Copies the four values through their setters.
    void Assign(const TIconSequence& other);
    void Changed();

    std::function<void()> OnChange;

private:
    bool on_ = false;
    int sequences_ = kDefaultSequences;
    int intervalMs_ = kDefaultIntervalMs;
    QString iconResName_;
};

}  // namespace components
