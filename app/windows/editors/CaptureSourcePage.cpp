#include "app/windows/editors/CaptureSourcePage.h"

#include <QColorDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/editors/Setup_ScreenCapture_Frame.h"
#include "app/windows/base/IpAddrPortFrame.h"

namespace app {

namespace {

using Frame = TSetup_ScreenCapture_Frame;

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox* MakeCombo(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QSpinBox* MakeSpin(QWidget* parent, int minimum, int maximum, int step = 1) {
    auto* spin = new TSpinEdit(parent);
    SetupSpin(*spin, minimum, maximum, step);
    return spin;
}

QToolButton* MakeTool(QWidget* parent, const char* name, const QString& text, const QString& hint = {}) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

}  // namespace

void TCaptureEditorPages::Build() {
    auto* layout = new QVBoxLayout(&frame_);
    frame_.PageControl = new QTabWidget(&frame_);
    frame_.PageControl->addTab(BuildCapturePage(), QStringLiteral("Capture"));
    frame_.PageControl->addTab(BuildVideoPage(), QStringLiteral("Video Settings"));
    frame_.PageControl->addTab(BuildImagePage(), QStringLiteral("Image Snapshot"));
    frame_.PageControl->addTab(BuildTimePage(), QStringLiteral("Time Display"));
    frame_.PageControl->addTab(BuildAudioPage(), QStringLiteral("Audio"));
    layout->addWidget(frame_.PageControl);
    layout->addWidget(BuildSharePanel());
}

QWidget* TCaptureEditorPages::BuildCapturePage() {
    auto* page = new QWidget(&frame_);
    auto* layout = new QVBoxLayout(page);
    auto* top = new QFormLayout();
    frame_.Encoder_ComboBox = MakeCombo(page, "Encoder_ComboBox");
    frame_.CaptureSrc_ComboBox = MakeCombo(page, "CaptureSrc_ComboBox");
    frame_.Idx_Edit = MakeEdit(page, "Idx_Edit");
    frame_.Idx_Edit->setReadOnly(true);
    frame_.Name_Edit = MakeEdit(page, "Name_Edit");
    frame_.AutoStart_CB = new QCheckBox(QStringLiteral("Auto Start"), page);
    top->addRow(QStringLiteral("Source"), frame_.Encoder_ComboBox);
    top->addRow(QStringLiteral("Capture"), frame_.CaptureSrc_ComboBox);
    top->addRow(QStringLiteral("IDX"), frame_.Idx_Edit);
    top->addRow(QStringLiteral("Name"), frame_.Name_Edit);
    top->addRow(frame_.AutoStart_CB);
    layout->addLayout(top);

    frame_.Port_Panel = new QWidget(page);
    auto* port = new QFormLayout(frame_.Port_Panel);
    auto* portRow = new QHBoxLayout();
    frame_.SinkPort_Edit = MakeEdit(frame_.Port_Panel, "SinkPort_Edit");
    frame_.EditPort_TB = MakeTool(frame_.Port_Panel, "EditPort_TB", QStringLiteral("..."), QStringLiteral("Edit Port"));
    frame_.EditPort_TB->setCheckable(true);
    portRow->addWidget(frame_.SinkPort_Edit);
    portRow->addWidget(frame_.EditPort_TB);
    port->addRow(QStringLiteral("Port (internal)"), portRow);
    frame_.MouseCapture_CB = new QCheckBox(QStringLiteral("capture Mouse "), frame_.Port_Panel);
    port->addRow(frame_.MouseCapture_CB);
    frame_.PixelFormat_ComboBox = MakeCombo(frame_.Port_Panel, "PixelFormat_ComboBox");
    port->addRow(QStringLiteral("PixelFormat"), frame_.PixelFormat_ComboBox);
    layout->addWidget(frame_.Port_Panel);

    frame_.Monitor_GB = new QGroupBox(QStringLiteral("Monitor"), page);
    auto* monitor = new QFormLayout(frame_.Monitor_GB);
    frame_.DeskNo_ComboBox = MakeCombo(frame_.Monitor_GB, "DeskNo_ComboBox");
    monitor->addRow(QStringLiteral("Index"), frame_.DeskNo_ComboBox);
    layout->addWidget(frame_.Monitor_GB);

    frame_.Window_GB = new QGroupBox(QStringLiteral("Window Parameters"), page);
    auto* window = new QFormLayout(frame_.Window_GB);
    frame_.WinClass_Edit = MakeEdit(frame_.Window_GB, "WinClass_Edit");
    frame_.WinCaption_Edit = MakeEdit(frame_.Window_GB, "WinCaption_Edit");
    frame_.Windows_TB = MakeTool(frame_.Window_GB, "Windows_TB", QStringLiteral("..."), QStringLiteral("Window List"));
    frame_.Adjust_CB = new QCheckBox(QStringLiteral("adjust"), frame_.Window_GB);
    auto* classRow = new QHBoxLayout();
    classRow->addWidget(frame_.WinClass_Edit);
    classRow->addWidget(frame_.Windows_TB);
    window->addRow(QStringLiteral("Class"), classRow);
    window->addRow(QStringLiteral("Caption"), frame_.WinCaption_Edit);
    window->addRow(frame_.Adjust_CB);
    layout->addWidget(frame_.Window_GB);

    frame_.Area_GB = new QGroupBox(QStringLiteral("Screen Area Parameters"), page);
    auto* area = new QHBoxLayout(frame_.Area_GB);
    frame_.Left_Edit = MakeEdit(frame_.Area_GB, "Left_Edit");
    frame_.Top_Edit = MakeEdit(frame_.Area_GB, "Top_Edit");
    frame_.Width_Edit = MakeEdit(frame_.Area_GB, "Width_Edit");
    frame_.Height_Edit = MakeEdit(frame_.Area_GB, "Height_Edit");
    for (QLineEdit* edit : {frame_.Left_Edit, frame_.Top_Edit, frame_.Width_Edit, frame_.Height_Edit, frame_.Idx_Edit})
        InstallKeyFilter(*edit, kDigitKeys);
    for (QLineEdit* edit : {frame_.Left_Edit, frame_.Top_Edit, frame_.Width_Edit, frame_.Height_Edit})
        area->addWidget(edit);
    frame_.WndArea_TB = MakeTool(frame_.Area_GB, "WndArea_TB", QStringLiteral("..."), QStringLiteral("Screen Area"));
    frame_.Screen_Button = MakeTool(frame_.Area_GB, "Screen_Button", QStringLiteral("Screen-Area"));
    frame_.Work_Button = MakeTool(frame_.Area_GB, "Work_Button", QStringLiteral("Work-Area"));
    for (QToolButton* button : {frame_.WndArea_TB, frame_.Screen_Button, frame_.Work_Button}) area->addWidget(button);
    layout->addWidget(frame_.Area_GB);

    frame_.Udp_GB = new QGroupBox(QStringLiteral("UDP Input"), page);
    auto* udp = new QHBoxLayout(frame_.Udp_GB);
    frame_.Udp_IpAddr_Port_Frame1 = new TMod_IpAddr_Port_Frame(frame_.Udp_GB);
    udp->addWidget(frame_.Udp_IpAddr_Port_Frame1);
    layout->addWidget(frame_.Udp_GB);

    frame_.Files_GB = new QGroupBox(QStringLiteral("Files"), page);
    auto* files = new QFormLayout(frame_.Files_GB);
    frame_.FileFmt_ComboBox = MakeCombo(frame_.Files_GB, "FileFmt_ComboBox");
    files->addRow(QStringLiteral("Format"), frame_.FileFmt_ComboBox);
    auto* dirRow = new QHBoxLayout();
    frame_.FileDir_Label = new QLabel(frame_.Files_GB);
    frame_.SpeedButton1 = MakeTool(frame_.Files_GB, "SpeedButton1", QStringLiteral("..."));
    dirRow->addWidget(frame_.FileDir_Label, 1);
    dirRow->addWidget(frame_.SpeedButton1);
    files->addRow(QStringLiteral("Source-Dir"), dirRow);
    frame_.FileFreq_SpinEdit = MakeSpin(frame_.Files_GB, 1, 60);
    files->addRow(QStringLiteral("Frequency"), frame_.FileFreq_SpinEdit);
    frame_.FileDel_CB = new QCheckBox(QStringLiteral("Delete Files"), frame_.Files_GB);
    files->addRow(frame_.FileDel_CB);
    layout->addWidget(frame_.Files_GB);
    layout->addStretch();

    QObject::connect(frame_.Encoder_ComboBox, &QComboBox::activated, &frame_, &Frame::ApplyMethod);
    QObject::connect(frame_.CaptureSrc_ComboBox, &QComboBox::activated, &frame_, &Frame::ShowSourceGroup);
    QObject::connect(frame_.EditPort_TB, &QToolButton::clicked, &frame_, &Frame::EditPort_TBClick);
    QObject::connect(frame_.Windows_TB, &QToolButton::clicked, &frame_, &Frame::Windows_TBClick);
    QObject::connect(frame_.WndArea_TB, &QToolButton::clicked, &frame_, &Frame::WndArea_TBClick);
    QObject::connect(frame_.Screen_Button, &QToolButton::clicked, &frame_, &Frame::Screen_ButtonClick);
    QObject::connect(frame_.Work_Button, &QToolButton::clicked, &frame_, &Frame::Work_ButtonClick);
    QObject::connect(frame_.SpeedButton1, &QToolButton::clicked, &frame_, &Frame::SpeedButton1Click);
    return page;
}

QWidget* TCaptureEditorPages::BuildVideoPage() {
    frame_.VideoPage = new QWidget(&frame_);
    auto* layout = new QVBoxLayout(frame_.VideoPage);
    frame_.Video_GB = new QGroupBox(QStringLiteral("Multiplexing + Transcoding"), frame_.VideoPage);
    auto* form = new QFormLayout(frame_.Video_GB);
    frame_.Deccoder_ComboBox = MakeCombo(frame_.Video_GB, "Deccoder_ComboBox");
    frame_.Scale_ComboBox = MakeCombo(frame_.Video_GB, "Scale_ComboBox");
    frame_.BitRate_SpinEdit = MakeSpin(frame_.Video_GB, engine::kMinVideoBitrate, engine::kMaxVideoBitrate, 50);
    frame_.Frame_SpinEdit = MakeSpin(frame_.Video_GB, engine::kMinFrameRate, engine::kMaxFrameRate);
    frame_.PreScaling_CB = new QCheckBox(QStringLiteral("pre-scaling"), frame_.Video_GB);
    form->addRow(QStringLiteral("Encoder"), frame_.Deccoder_ComboBox);
    form->addRow(QStringLiteral("Scaling"), frame_.Scale_ComboBox);
    form->addRow(QStringLiteral("Bitrate [kBit/s]"), frame_.BitRate_SpinEdit);
    form->addRow(QStringLiteral("FrameRate [fps]"), frame_.Frame_SpinEdit);
    form->addRow(frame_.PreScaling_CB);
    // The audio encoding is kept as loaded: its panel is never shown.
    frame_.Audio_Panel = new QWidget(frame_.Video_GB);
    auto* audio = new QFormLayout(frame_.Audio_Panel);
    frame_.AudDecoder_ComboBox = MakeCombo(frame_.Audio_Panel, "AudDecoder_ComboBox");
    frame_.AudioBitrate_SpinEdit = MakeSpin(frame_.Audio_Panel, 16, 512, 8);
    audio->addRow(frame_.AudDecoder_ComboBox);
    audio->addRow(frame_.AudioBitrate_SpinEdit);
    frame_.Audio_Panel->hide();
    frame_.Mux_Panel = new QWidget(frame_.Video_GB);
    auto* mux = new QFormLayout(frame_.Mux_Panel);
    frame_.Mux_ComboBox = MakeCombo(frame_.Mux_Panel, "Mux_ComboBox");
    frame_.VidPid_Edit = MakeEdit(frame_.Mux_Panel, "VidPid_Edit");
    frame_.AudPid_Edit = MakeEdit(frame_.Mux_Panel, "AudPid_Edit");
    frame_.PmtPid_Edit = MakeEdit(frame_.Mux_Panel, "PmtPid_Edit");
    mux->addRow(QStringLiteral("Multiplex"), frame_.Mux_ComboBox);
    mux->addRow(QStringLiteral("Video PID"), frame_.VidPid_Edit);
    mux->addRow(QStringLiteral("Audio PID"), frame_.AudPid_Edit);
    mux->addRow(QStringLiteral("PMT PID"), frame_.PmtPid_Edit);
    for (QLineEdit* pid : {frame_.VidPid_Edit, frame_.AudPid_Edit, frame_.PmtPid_Edit}) {
        InstallKeyFilter(*pid, kPidKeys);
        pid->installEventFilter(&frame_);  // the double click converts
    }
    form->addRow(frame_.Mux_Panel);
    layout->addWidget(frame_.Video_GB);
    layout->addStretch();
    return frame_.VideoPage;
}

QWidget* TCaptureEditorPages::BuildImagePage() {
    frame_.ImagePage = new QWidget(&frame_);
    auto* form = new QFormLayout(frame_.ImagePage);
    frame_.ImgFreq_SpinEdit = MakeSpin(frame_.ImagePage, 1, 60);
    frame_.ImgFormat_ComboBox = MakeCombo(frame_.ImagePage, "ImgFormat_ComboBox");
    frame_.PngComp_SpinEdit = MakeSpin(frame_.ImagePage, 1, 9);
    frame_.JpgComp_SpinEdit = MakeSpin(frame_.ImagePage, 5, 100, 5);
    frame_.Archive_CB = new QCheckBox(QStringLiteral("Image Archive"), frame_.ImagePage);
    frame_.Limit_Panel = new QLabel(frame_.ImagePage);
    frame_.Limit_Panel->setObjectName(QStringLiteral("Limit_Panel"));
    frame_.ArchPath_Label = new QLabel(frame_.ImagePage);
    form->addRow(QStringLiteral("Frequency"), frame_.ImgFreq_SpinEdit);
    form->addRow(QStringLiteral("Image Format"), frame_.ImgFormat_ComboBox);
    form->addRow(QStringLiteral("PNG "), frame_.PngComp_SpinEdit);
    form->addRow(QStringLiteral("JPG "), frame_.JpgComp_SpinEdit);
    form->addRow(frame_.Archive_CB);
    form->addRow(QStringLiteral("Limit"), frame_.Limit_Panel);
    form->addRow(QStringLiteral("Archive-Path"), frame_.ArchPath_Label);
    return frame_.ImagePage;
}

QWidget* TCaptureEditorPages::BuildTimePage() {
    auto* page = new QWidget(&frame_);
    auto* form = new QFormLayout(page);
    frame_.ImgDispAct_CB = new QCheckBox(QStringLiteral("Active"), page);
    frame_.Pos_ComboBox = MakeCombo(page, "Pos_ComboBox");
    frame_.FontName_ComboBox = MakeCombo(page, "FontName_ComboBox");
    frame_.FontSize_SpinEdit = MakeSpin(page, 7, 70);
    frame_.Font_ColorPicker = new QPushButton(page);
    frame_.Bold_CB = new QCheckBox(QStringLiteral("bold"), page);
    frame_.Bkgnd_ColorPicker = new QPushButton(page);
    frame_.Transparent_CB = new QCheckBox(QStringLiteral("Transparent"), page);
    form->addRow(frame_.ImgDispAct_CB);
    form->addRow(QStringLiteral("Position"), frame_.Pos_ComboBox);
    form->addRow(QStringLiteral("Font-Name"), frame_.FontName_ComboBox);
    form->addRow(QStringLiteral("Font-Size"), frame_.FontSize_SpinEdit);
    form->addRow(QStringLiteral("Font-Color"), frame_.Font_ColorPicker);
    form->addRow(frame_.Bold_CB);
    form->addRow(QStringLiteral("Background"), frame_.Bkgnd_ColorPicker);
    form->addRow(frame_.Transparent_CB);
    for (QPushButton* picker : {frame_.Font_ColorPicker, frame_.Bkgnd_ColorPicker}) {
        SetColorOf(*picker, 0);
        QObject::connect(picker, &QPushButton::clicked, &frame_, [frame = &frame_, picker] {
            const components::TColor color = ColorOf(*picker);
            QColorDialog dialog(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF), frame);
            dialog.setOption(QColorDialog::DontUseNativeDialog);
            if (RunModal(dialog) != kModalOk) return;
            const QColor chosen = dialog.selectedColor();
            SetColorOf(*picker, static_cast<components::TColor>(chosen.red() | (chosen.green() << 8) |
                                                                (chosen.blue() << 16)));
        });
    }
    return page;
}

QWidget* TCaptureEditorPages::BuildAudioPage() {
    auto* page = new QWidget(&frame_);
    auto* layout = new QVBoxLayout(page);
    auto* group = new QGroupBox(QStringLiteral("Local Audio Capture"), page);
    auto* form = new QFormLayout(group);
    frame_.Ws_ComboBox = MakeCombo(group, "Ws_ComboBox");
    frame_.WsAct_CB = new QCheckBox(QStringLiteral("Active"), group);
    frame_.WsAct_Label = new QLabel(QStringLiteral("[de-activated]"), group);
    frame_.WsAct_Label->hide();
    form->addRow(QStringLiteral("Web-Socket"), frame_.Ws_ComboBox);
    form->addRow(frame_.WsAct_CB, frame_.WsAct_Label);
    layout->addWidget(group);
    layout->addStretch();
    QObject::connect(frame_.Ws_ComboBox, &QComboBox::activated, &frame_, &Frame::Ws_ComboBoxChange);
    return page;
}

QWidget* TCaptureEditorPages::BuildSharePanel() {
    auto* panel = new QWidget(&frame_);
    auto* layout = new QHBoxLayout(panel);
    frame_.Streamer_VST = new QTreeWidget(panel);
    frame_.Streamer_VST->setObjectName(QStringLiteral("Streamer_VST"));
    frame_.Streamer_VST->setRootIsDecorated(false);
    frame_.Streamer_VST->setHeaderLabels({QStringLiteral("Act"), QStringLiteral("FTP"), QStringLiteral("Protocol"),
                                          QStringLiteral("Destination")});
    frame_.Streamer_VST->setStyleSheet(
        QStringLiteral("QTreeWidget { font-family: Verdana; font-size: 8pt; color: #000080; }"
                       " QTreeWidget::item:selected { color: white; }"));
    frame_.Streamer_VST->setColumnWidth(kShareColActive, kShareStateColumnWidthPx);
    frame_.Streamer_VST->setColumnWidth(kShareColFtp, kShareStateColumnWidthPx);
    layout->addWidget(frame_.Streamer_VST, 1);
    auto* buttons = new QVBoxLayout();
    frame_.AddPort_BitBtn = MakeTool(panel, "AddPort_BitBtn", QStringLiteral("+"), QStringLiteral("Add Share"));
    frame_.EditPort_BitBtn = MakeTool(panel, "EditPort_BitBtn", QStringLiteral("..."), QStringLiteral("Edit Share"));
    frame_.DelPort_BitBtn = MakeTool(panel, "DelPort_BitBtn", QStringLiteral("-"), QStringLiteral("Delete Share"));
    for (QToolButton* button : {frame_.AddPort_BitBtn, frame_.EditPort_BitBtn, frame_.DelPort_BitBtn})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    QObject::connect(frame_.AddPort_BitBtn, &QToolButton::clicked, &frame_, &Frame::AddPort_BitBtnClick);
    QObject::connect(frame_.EditPort_BitBtn, &QToolButton::clicked, &frame_, &Frame::EditPort_BitBtnClick);
    QObject::connect(frame_.DelPort_BitBtn, &QToolButton::clicked, &frame_, &Frame::DelPort_BitBtnClick);
    QObject::connect(frame_.Streamer_VST, &QTreeWidget::itemDoubleClicked, &frame_, &Frame::EditPort_BitBtnClick);
    return panel;
}
}  // namespace app
