// The capture-service editor: its tabs (capture source, video, image snapshot, time overlay, audio),
// each a page of its own, above the share list. It edits the job of one capture entry; share changes
// act on the job at once, everything else is written by StoreCapture after OK. The rules that reach
// over more than one tab (the capture method and the source) live here.
#pragma once

#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <optional>
#include <vector>

#include "app/windows/editors/CaptureEditorContext.h"
#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

class TCaptureAudioPage;
class TCaptureSourcePage;
class TImageSnapshotPage;
class TTimeDisplayPage;
class TVideoSettingsPage;

constexpr int kShareStateColumnWidthPx = 40;

// The columns of the editor's share list.
enum : int { kShareColActive = 0, kShareColFtp = 1, kShareColProtocol = 2, kShareColDestination = 3 };

class TSetup_ScreenCapture_Frame : public QWidget {
public:
    explicit TSetup_ScreenCapture_Frame(TCaptureEditorContext context, QWidget* parent = nullptr);

    void InitEditor(TCaptureListEntry* entry);
    // The entry of CaptureList whose Idx is captureIdx, loaded with its job; nothing when none.
    void LoadCapture(int32_t captureIdx);
    void StoreCapture(TCaptureListEntry* entry);
    bool HasShares() const;
    // The selected method's sources, scalings and parts; the System method sets the job's kind at once.
    void ApplyMethod();
    // The selected source's parameters; a UDP input greys the multiplexer.
    void ShowSourceGroup();

    // Buttons and list actions.
    void AddPort_BitBtnClick();
    void EditPort_BitBtnClick();
    void DelPort_BitBtnClick();
    // The watched folder's browse button: the chosen folder is the job's at once.
    void SpeedButton1Click();

    TCaptureListEntry* Entry() const { return entry_; }
    const std::vector<engine::PCaptureStreamer>& ShareRows() const { return rows_; }
    const TCaptureEditorContext& Context() const { return context_; }

    QTabWidget* PageControl;
    TCaptureSourcePage* CapturePage;
    TVideoSettingsPage* VideoPage;
    TImageSnapshotPage* ImagePage;
    TTimeDisplayPage* TimePage;
    TCaptureAudioPage* AudioPage;
    QTreeWidget* Streamer_VST;
    QToolButton* AddPort_BitBtn;
    QToolButton* EditPort_BitBtn;
    QToolButton* DelPort_BitBtn;

private:
    QWidget* BuildSharePanel();
    void ShowVlcParts();
    void AddShareRow(const engine::PCaptureStreamer& share);
    void DeleteShareRows(int row, bool all);
    void ShowShares(const TCaptureJobView& job);
    void RefreshShareRows();
    TCaptureJobView Job() const;
    engine::PCaptureStreamer FocusedShare() const;
    std::optional<uint8_t> JobKind() const;

    TCaptureEditorContext context_;
    TCaptureListEntry* entry_ = nullptr;  // not owned
    std::vector<engine::PCaptureStreamer> rows_;
};

}  // namespace app
