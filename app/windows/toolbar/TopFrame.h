// TTop_Frame, the main window's tool bar: Start, Stop and Add on the left; Open Log, Minimize/Maximize
// All, Configuration, Help, About, Minimize and Exit on the right. What the buttons do belongs to the
// main window, which hands its operations over as hooks in InitToolBar (an empty hook does nothing).
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace components {
class TCanvasPanelEx;
}

namespace app {

constexpr int kToolBarHeight = 28;
constexpr int kToolBarEdgeGap = 2;
inline constexpr const char* kToolBarHelpAnchor = "#1 Introduction";

struct TToolBarHooks {
    std::function<void(bool start)> StartStopAll;
    std::function<void()> AddCapture;       // a new capture service through the capture-service editor
    std::function<void()> SaveCaptureList;  // capture.xml
    std::function<void()> ToggleLogWindow;
    std::function<bool()> AnyPanelExpanded;
    std::function<void(bool minimize)> SetAllPanelsMinimized;
    std::function<void(int page)> SelectSettingsPage;
    std::function<void()> OpenSettings;     // the main window's settings sequence
    std::function<void(const std::string& anchor)> ShowHelp;
    std::function<void()> ShowAbout;        // modal
    std::function<void()> TrayShowHide;     // the tray's show/hide of the main window
    std::function<void()> MinimizeMainWindow;
    std::function<void()> CloseApp;
};

class TTop_Frame : public QWidget {
public:
    explicit TTop_Frame(QWidget* parent = nullptr);

    // Height, alignment and caption, and the buttons' handlers (again on every call).
    void InitToolBar(TToolBarHooks hooks);

    void Start_TBClick();
    void StopAll_TBClick();
    void Add_TBClick();
    void Log_TBClick();
    void Min_TBClick();
    void Min_TBDblClick();
    void Settings_TBClick();
    void Help_TBClick();
    void Info_TBClick();
    void Minimize_TBClick();
    void Exit_TBClick();

    components::TCanvasPanelEx& Top_Panel() { return *topPanel_; }
    // The Log button: the main window gives it Tag 1 and the switched-on look while the log shows.
    components::TCanvasPanelEx& Log_TB() { return *log_; }
    // Every button in the order Start, Stop, Add, Log, Min, Settings, Help, Info, Minimize, Exit.
    std::vector<components::TCanvasPanelEx*> Buttons() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FrameResize();
    void WireLooks();

    TToolBarHooks hooks_;
    components::TCanvasPanelEx* topPanel_;
    components::TCanvasPanelEx* start_;
    components::TCanvasPanelEx* stopAll_;
    components::TCanvasPanelEx* add_;
    components::TCanvasPanelEx* log_;
    components::TCanvasPanelEx* min_;
    components::TCanvasPanelEx* settings_;
    components::TCanvasPanelEx* help_;
    components::TCanvasPanelEx* info_;
    components::TCanvasPanelEx* minimize_;
    components::TCanvasPanelEx* exit_;
};

}  // namespace app
