// The wait window the install window shows over itself while it downloads (mode 2), unpacks (3) and
// installs (4): borderless, on top, centred over its owner, which it disables while it shows. It shows
// a text line and a gauge, and "Break", which the owner answers (ending the process in modes 2 to 4).
// Shows and ends pair up through a counter: two ShowWait need two EndWait. Once shown it stays up at
// least kMinShowMs; a ShowWait that comes while it is waiting out that time keeps it up in the new mode.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;

namespace components {
class TColorFrames;
}
namespace platform {
class TTimer;
}

namespace hollarin {

class TCanvasPanelEx;

// Modes of the wait window.
constexpr int kWaitModeDownload = 0;
constexpr int kWaitModeScanning = 1;
constexpr int kWaitModeDownloading = 2;
constexpr int kWaitModeUnpacking = 3;
constexpr int kWaitModePreparing = 4;
constexpr int kWaitModeRecording = 20;
constexpr int kWaitModeAnalyze = 50;

class TWait_Form : public QWidget {
public:
    static constexpr int kMinShowMs = 400;
    static constexpr int kRepaintOwnerMs = 1000;
    static constexpr int kGaugeStepMs = 1000;
    static constexpr int kCyclingGaugeMax = 5;

    TWait_Form();
    ~TWait_Form() override;

    // Called with the current mode when "Break" is clicked.
    std::function<void(int mode)> OnBreak;

    // Nothing (not even counted) unless owner exists and is visible.
    void ShowWait(int mode, QWidget* owner);
    void EndWait();
    void SetGaugeMax(int value);
    void SetGaugeProgress(int value);
    void SetAddInfo(const QString& text);
    // The first line's text (the download's size replaces the mode's text).
    void SetInfoText(const QString& text);

    int Mode() const { return mode_; }
    int ShowCount() const { return showCount_; }
    // Shown and not waiting out its minimum time before it closes.
    bool Showing() const { return isVisible() && !closing_; }
    QString InfoText() const;
    bool GaugeShown() const;
    int GaugeMax() const;
    int GaugePosition() const;
    bool GaugeTimerRunning() const;
    TCanvasPanelEx& BreakButton() { return *breakButton_; }

    // The timers' handlers.
    void WaitTimerTick();
    void GaugeTimerTick();

private:
    void FormShow();
    void ApplyMode();
    void Close();
    void FinishClose();

    components::TColorFrames* frame_;
    QLabel* infoLabel_;
    QLabel* addInfoLabel_;
    components::TColorFrames* gaugeFrame_;
    QProgressBar* gauge_;
    TCanvasPanelEx* breakButton_;
    std::unique_ptr<platform::TTimer> waitTimer_;
    std::unique_ptr<platform::TTimer> gaugeTimer_;
    std::unique_ptr<platform::TTimer> closeTimer_;
    QPointer<QWidget> owner_;
    QElapsedTimer shownAt_;
    int mode_ = 0;
    int showCount_ = 0;
    bool closing_ = false;
};

}  // namespace hollarin
