// The "Capture-Service" page of the settings dialog: the HLS segment figures and the list of capture
// services with their Add, Edit and Delete, which act at once on the live list and write capture.xml
// after each change.
#pragma once

#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QWidget>
#include <functional>

#include "engine/settings/settings.h"

namespace app {

class ISettingsFormHost;
class TListGridModel;
struct TCaptureListEntry;

class TCaptureServicePage : public QWidget {
public:
    static constexpr const char* kListName = "capture_vst";

    // leaveApp runs when the user chose to end the program rather than define a capture service.
    TCaptureServicePage(ISettingsFormHost& host, std::function<void()> leaveApp, QWidget* parent = nullptr);

    void LoadFrom(const engine::TSettings& settings);
    void StoreTo(engine::TSettings& settings) const;

    void FillCaptureList();
    void LoadColumnWidths();
    void SaveColumnWidths() const;

    void AddCapture_TBClick();
    void EditCapture_TBClick();
    void DelCapture_TBClick();

    QSpinBox* NoOfSeg_SpinEdit;
    QSpinBox* SegLen_SpinEdit;
    QTableView* Capture_VST;
    QPushButton* AddCapture_TB;
    QPushButton* EditCapture_TB;
    QPushButton* DelCapture_TB;

private:
    TCaptureListEntry* FocusedEntry() const;
    void SaveCaptures();

    ISettingsFormHost& host_;
    std::function<void()> leaveApp_;
    TListGridModel* model_;
};

}  // namespace app
