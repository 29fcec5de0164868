// The wait window that covers a form while a capture starts or stops: borderless and on top, centred
// over the form it covers, which stays disabled while it shows. Mode 0 shows a gauge and "... please
// wait ...", mode 1 that text lower down, mode 2 "... Get Current Output Level ..."; any other mode
// shows neither. Once shown it stays up at least kMinShowMs, however soon it is closed, and repaints
// the covered form once a second.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QProgressBar;

namespace platform {
class TTimer;
}

namespace app {

class TWait_Form : public QWidget {
public:
    static constexpr int kMinShowMs = 400;
    static constexpr int kRepaintIntervalMs = 1000;

    explicit TWait_Form(QWidget* parent = nullptr);
    ~TWait_Form() override;

    int Mode() const { return mode_; }
    void SetMode(int mode) { mode_ = mode; }
    QWidget* OwnerForm() const { return ownerForm_; }
    void SetOwnerForm(QWidget* owner) { ownerForm_ = owner; }

    QProgressBar* WaitGauge() const { return waitGauge_; }
    QLabel* InfoLabel() const { return infoLabel_; }
    bool WaitTimerRunning() const;

protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void closeEvent(QCloseEvent* event) override; // FormClose

private:
    void WaitTimerTimer();

    int mode_ = 0;
    QPointer<QWidget> ownerForm_;
    QElapsedTimer showTick_;
    bool closing_ = false;  // inside FormClose's minimum wait
    QFrame* shape1_;
    QProgressBar* waitGauge_;
    QLabel* infoLabel_;
    std::unique_ptr<platform::TTimer> waitTimer_;
};

}  // namespace app
