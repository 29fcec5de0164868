// Every control and rule of the capture-service editor: the capture method and source, the source's
// parameters (monitor, window, area, watched folder), video encoding, snapshots, time overlay, the
// audio web socket and the share list. It edits the job of one capture entry; share changes act on the
// job at once, everything else is written by StoreCapture after OK.
// TCaptureEditorPages lays its controls out.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <optional>
#include <vector>

#include "components/Color.h"

#include "app/windows/editors/CaptureEditorContext.h"
#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

class TMod_IpAddr_Port_Frame;

constexpr int kShareStateColumnWidthPx = 40;
constexpr int kArchivePathWidthPx = 370;
constexpr int kFilesDirWidthPx = 270;

// The colour a colour field shows (0x00BBGGRR), kept with the field.
components::TColor ColorOf(const QPushButton& picker);
void SetColorOf(QPushButton& picker, components::TColor color);

class TSetup_ScreenCapture_Frame : public QWidget {
public:
    explicit TSetup_ScreenCapture_Frame(TCaptureEditorContext context, QWidget* parent = nullptr);

    void InitEditor(TCaptureListEntry* entry);
    // The entry of CaptureList whose Idx is captureIdx, loaded with its job; nothing when none.
    void LoadCapture(int32_t captureIdx);
    void StoreCapture(TCaptureListEntry* entry);
    bool HasShares() const;
    void ApplyMethod();
    void ShowSourceGroup();

    // Buttons and list actions.
    void AddPort_BitBtnClick();
    void EditPort_BitBtnClick();
    void DelPort_BitBtnClick();
    void EditPort_TBClick();
    void Windows_TBClick();
    void WndArea_TBClick();
    void Screen_ButtonClick();
    void Work_ButtonClick();
    void SpeedButton1Click();
    void Ws_ComboBoxChange();
    void PidDoubleClick(QLineEdit& field);

    TCaptureListEntry* Entry() const { return entry_; }
    const std::vector<engine::PCaptureStreamer>& ShareRows() const { return rows_; }
    const TCaptureEditorContext& Context() const { return context_; }

    QTabWidget* PageControl;
    QComboBox* Encoder_ComboBox;
    QComboBox* CaptureSrc_ComboBox;
    QLineEdit* Idx_Edit;
    QLineEdit* Name_Edit;
    QCheckBox* AutoStart_CB;
    QWidget* Port_Panel;
    QLineEdit* SinkPort_Edit;
    QToolButton* EditPort_TB;
    QCheckBox* MouseCapture_CB;
    QComboBox* PixelFormat_ComboBox;
    QGroupBox* Monitor_GB;
    QComboBox* DeskNo_ComboBox;
    QGroupBox* Window_GB;
    QLineEdit* WinClass_Edit;
    QLineEdit* WinCaption_Edit;
    QToolButton* Windows_TB;
    QCheckBox* Adjust_CB;
    QGroupBox* Area_GB;
    QLineEdit* Left_Edit;
    QLineEdit* Top_Edit;
    QLineEdit* Width_Edit;
    QLineEdit* Height_Edit;
    QToolButton* WndArea_TB;
    QToolButton* Screen_Button;
    QToolButton* Work_Button;
    QGroupBox* Udp_GB;
    TMod_IpAddr_Port_Frame* Udp_IpAddr_Port_Frame1;
    QGroupBox* Files_GB;
    QComboBox* FileFmt_ComboBox;
    QLabel* FileDir_Label;
    QToolButton* SpeedButton1;
    QSpinBox* FileFreq_SpinEdit;
    QCheckBox* FileDel_CB;
    QWidget* VideoPage;
    QGroupBox* Video_GB;
    QComboBox* Deccoder_ComboBox;
    QComboBox* Scale_ComboBox;
    QSpinBox* BitRate_SpinEdit;
    QSpinBox* Frame_SpinEdit;
    QCheckBox* PreScaling_CB;
    QWidget* Audio_Panel;
    QComboBox* AudDecoder_ComboBox;
    QSpinBox* AudioBitrate_SpinEdit;
    QWidget* Mux_Panel;
    QComboBox* Mux_ComboBox;
    QLineEdit* VidPid_Edit;
    QLineEdit* AudPid_Edit;
    QLineEdit* PmtPid_Edit;
    QWidget* ImagePage;
    QSpinBox* ImgFreq_SpinEdit;
    QComboBox* ImgFormat_ComboBox;
    QSpinBox* PngComp_SpinEdit;
    QSpinBox* JpgComp_SpinEdit;
    QCheckBox* Archive_CB;
    QLabel* Limit_Panel;
    QLabel* ArchPath_Label;
    QCheckBox* ImgDispAct_CB;
    QComboBox* Pos_ComboBox;
    QComboBox* FontName_ComboBox;
    QSpinBox* FontSize_SpinEdit;
    QPushButton* Font_ColorPicker;  // its colour: ColorOf / SetColorOf
    QCheckBox* Bold_CB;
    QPushButton* Bkgnd_ColorPicker;
    QCheckBox* Transparent_CB;
    QComboBox* Ws_ComboBox;
    QCheckBox* WsAct_CB;
    QLabel* WsAct_Label;
    QTreeWidget* Streamer_VST;
    QToolButton* AddPort_BitBtn;
    QToolButton* EditPort_BitBtn;
    QToolButton* DelPort_BitBtn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillSourceList(int method);
    void FillScaleList(int method);
    void FillWebSocketList();
    void ShowArchiveSettings();
    void AddShareRow(const engine::PCaptureStreamer& share);
    void DeleteShareRows(int row, bool all);
    void RefreshShareRows();
    void SetArea(int left, int top, int width, int height);
    TCaptureJobView Job() const;
    engine::PCaptureStreamer FocusedShare() const;
    std::optional<uint8_t> JobKind() const;

    TCaptureEditorContext context_;
    TCaptureListEntry* entry_ = nullptr;  // not owned
    std::vector<engine::PCaptureStreamer> rows_;
    bool pickerOpen_ = false;  // the window or area picker is up
};

}  // namespace app
