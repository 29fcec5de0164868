// TBottom_Frame, the main window's status bar: the program's start time, counts and on-lamps of the
// capture services, web servers and web sockets, the flash lamps of the engine's data events, the
// keep-awake lamp and the compact-mode button. Dragging the bar moves the main window. The main window
// writes its values (ShowStatus from its one-second timer, ShowCaptureNotify from its wmCaptureNotify
// handler).
#pragma once

#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>

class QLabel;

namespace components {
class TBevelLabel;
class TCanvasPanelEx;
class TColorFrames;
class TLedLabel;
}  // namespace components

namespace app {

constexpr int kStatusBarHeight = 52;
constexpr int kMinMaxButtonSize = 20;
constexpr int kMinMaxButtonGap = 6;

// What the main window's status timer shows.
struct TStatusBarValues {
    int Captures = 0;
    bool AnyCaptureRunning = false;
    bool KeepAwake = false;  // DeactScreenSaver
    int WebSockets = 0;
    bool AnyWebSocketActive = false;
    int WebServers = 0;
    bool AnyServerListening = false;
};

class TBottom_Frame : public QWidget {
public:
    explicit TBottom_Frame(QWidget* parent = nullptr);

    // setCompactMode is the main window's SetCompactMode, which the compact-mode button calls with false.
    // now is the start time shown (the clock's present moment by default).
    void InitStatusBar(std::function<void(bool keepPosition)> setCompactMode,
                       std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
    void ShowStatus(const TStatusBarValues& values);
    // cnImageData, cnVideoData and cnFileData flash their lamp unless it is lit already; other kinds
    // change nothing.
    void ShowCaptureNotify(intptr_t kind);

    void MinMax_TBClick();

    struct TControls {
        components::TColorFrames* Status_Frame;
        components::TLedLabel* CapOn_Led;
        components::TBevelLabel* MainCap_Label;
        components::TLedLabel* VidData_Led;
        QLabel* VidCaption;
        components::TLedLabel* ImgData_Led;
        components::TLedLabel* FileData_Led;
        components::TLedLabel* Http_Led;
        components::TBevelLabel* Http_Label;
        components::TLedLabel* Ws_Led;
        components::TBevelLabel* WS_Label;
        QLabel* SystemCaption;
        components::TCanvasPanelEx* SysStart_CPanel;
        components::TLedLabel* Screesaver_LED;
        components::TLedLabel* SysError_Led;
        components::TLedLabel* MainData_LED;
        components::TCanvasPanelEx* MinMax_TB;
    };
    const TControls& Controls() const { return ui_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void FrameResize();

    TControls ui_{};
    std::function<void(bool)> setCompactMode_;
};

}  // namespace app
