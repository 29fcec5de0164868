// The "Capture" tab of the capture-service editor: the capture method and source, the service's number,
// name and auto start, the internal port, and the parameters of each source (monitor, window with its
// picker, screen area with its picker, UDP input, watched folder).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace engine {
struct TScreenCaptureParams;
}

namespace app {

struct TCaptureEditorContext;
class TMod_IpAddr_Port_Frame;

constexpr int kFilesDirWidthPx = 270;

class TCaptureSourcePage : public QWidget {
public:
    // context (the pickers and the catch-all error handler) outlives the page.
    explicit TCaptureSourcePage(const TCaptureEditorContext& context, QWidget* parent = nullptr);

    // A new service, numbered captureCount: the DirectX method, the first monitor, a 100 x 100 area at
    // the origin, the job's internal port (none: empty) locked.
    void InitNew(size_t captureCount, const int32_t* internalPort);
    // Selects the stored method; one the list does not offer (libVLC) is added so that storing keeps it.
    void SelectMethod(uint8_t method);
    // Shows the parts of the selected method and offers its sources; the method, none when none is selected.
    std::optional<int> ApplyMethod();
    // Shows the parameters of the selected source (monitor, window, area, files or UDP input).
    void ShowSourceGroup();
    bool IsUdpInput() const;
    // Everything but the method, which SelectMethod shows.
    void LoadFrom(const engine::TScreenCaptureParams& p, const int32_t* internalPort);
    // Only a usable port replaces the internal port (none: left alone).
    void StoreTo(engine::TScreenCaptureParams& p, int32_t* internalPort) const;
    void ShowFilesDir(const std::string& dir);

    void EditPort_TBClick();
    void Windows_TBClick();
    void WndArea_TBClick();
    void Screen_ButtonClick();
    void Work_ButtonClick();

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
    QToolButton* SpeedButton1;  // the watched folder's browse button; the editor runs it
    QSpinBox* FileFreq_SpinEdit;
    QCheckBox* FileDel_CB;

private:
    void FillSourceList(int method);
    void SetArea(int left, int top, int width, int height);
    void ShowInternalPort(const int32_t* internalPort);

    const TCaptureEditorContext& context_;
    bool pickerOpen_ = false;  // the window or area picker is up
};

}  // namespace app
