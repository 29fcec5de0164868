// Builds the tabs of the capture-service editor (capture source, video, image snapshot, time overlay,
// audio) and its share list into the editor's own widget fields, and wires their signals to its handlers.
#pragma once

#include <QWidget>

namespace app {

class TSetup_ScreenCapture_Frame;

// The columns of the editor's share list.
enum : int { kShareColActive = 0, kShareColFtp = 1, kShareColProtocol = 2, kShareColDestination = 3 };

class TCaptureEditorPages {
public:
    explicit TCaptureEditorPages(TSetup_ScreenCapture_Frame& frame) : frame_(frame) {}

    // Lays the tabs and the share list out on the frame; run once, from its constructor.
    void Build();

private:
    QWidget* BuildCapturePage();
    QWidget* BuildVideoPage();
    QWidget* BuildImagePage();
    QWidget* BuildTimePage();
    QWidget* BuildAudioPage();
    QWidget* BuildSharePanel();

    TSetup_ScreenCapture_Frame& frame_;
};

}  // namespace app
