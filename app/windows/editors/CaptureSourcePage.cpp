#include "app/windows/editors/CaptureSourcePage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "app/windows/base/EditorControls.h"
#include "app/windows/base/IpAddrPortFrame.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/PathEllipsis.h"
#include "app/windows/base/DigitRules.h"
#include "app/windows/editors/CaptureEditorContext.h"
#include "app/windows/editors/NumberFieldText.h"
#include "app/windows/pickers/WndArea_Form.h"
#include "app/windows/pickers/WndList_Form.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/util/ip_address.h"
#include "engine/util/monitors.h"
#include "engine/util/number_strings.h"
#include "platform/display/display.h"

namespace app {

namespace {

constexpr int kNewArea = 100;
constexpr int kNewFileFreqS = 5;
constexpr int kMaxPort = 65535;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

TCaptureSourcePage::TCaptureSourcePage(const TCaptureEditorContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QFormLayout();
    Encoder_ComboBox = MakeNamedCombo(this, "Encoder_ComboBox");
    CaptureSrc_ComboBox = MakeNamedCombo(this, "CaptureSrc_ComboBox");
    Idx_Edit = MakeNamedEdit(this, "Idx_Edit");
    Idx_Edit->setReadOnly(true);
    Name_Edit = MakeNamedEdit(this, "Name_Edit");
    AutoStart_CB = new QCheckBox(QStringLiteral("Auto Start"), this);
    top->addRow(QStringLiteral("Source"), Encoder_ComboBox);
    top->addRow(QStringLiteral("Capture"), CaptureSrc_ComboBox);
    top->addRow(QStringLiteral("IDX"), Idx_Edit);
    top->addRow(QStringLiteral("Name"), Name_Edit);
    top->addRow(AutoStart_CB);
    layout->addLayout(top);

    Port_Panel = new QWidget(this);
    auto* port = new QFormLayout(Port_Panel);
    auto* portRow = new QHBoxLayout();
    SinkPort_Edit = MakeNamedEdit(Port_Panel, "SinkPort_Edit");
    EditPort_TB = MakeToolButton(Port_Panel, "EditPort_TB", QStringLiteral("..."), QStringLiteral("Edit Port"));
    EditPort_TB->setCheckable(true);
    portRow->addWidget(SinkPort_Edit);
    portRow->addWidget(EditPort_TB);
    port->addRow(QStringLiteral("Port (internal)"), portRow);
    MouseCapture_CB = new QCheckBox(QStringLiteral("capture Mouse "), Port_Panel);
    port->addRow(MouseCapture_CB);
    PixelFormat_ComboBox = MakeNamedCombo(Port_Panel, "PixelFormat_ComboBox");
    port->addRow(QStringLiteral("PixelFormat"), PixelFormat_ComboBox);
    layout->addWidget(Port_Panel);

    Monitor_GB = new QGroupBox(QStringLiteral("Monitor"), this);
    auto* monitor = new QFormLayout(Monitor_GB);
    DeskNo_ComboBox = MakeNamedCombo(Monitor_GB, "DeskNo_ComboBox");
    monitor->addRow(QStringLiteral("Index"), DeskNo_ComboBox);
    layout->addWidget(Monitor_GB);

    Window_GB = new QGroupBox(QStringLiteral("Window Parameters"), this);
    auto* window = new QFormLayout(Window_GB);
    WinClass_Edit = MakeNamedEdit(Window_GB, "WinClass_Edit");
    WinCaption_Edit = MakeNamedEdit(Window_GB, "WinCaption_Edit");
    Windows_TB = MakeToolButton(Window_GB, "Windows_TB", QStringLiteral("..."), QStringLiteral("Window List"));
    Adjust_CB = new QCheckBox(QStringLiteral("adjust"), Window_GB);
    auto* classRow = new QHBoxLayout();
    classRow->addWidget(WinClass_Edit);
    classRow->addWidget(Windows_TB);
    window->addRow(QStringLiteral("Class"), classRow);
    window->addRow(QStringLiteral("Caption"), WinCaption_Edit);
    window->addRow(Adjust_CB);
    layout->addWidget(Window_GB);

    Area_GB = new QGroupBox(QStringLiteral("Screen Area Parameters"), this);
    auto* area = new QHBoxLayout(Area_GB);
    Left_Edit = MakeNamedEdit(Area_GB, "Left_Edit");
    Top_Edit = MakeNamedEdit(Area_GB, "Top_Edit");
    Width_Edit = MakeNamedEdit(Area_GB, "Width_Edit");
    Height_Edit = MakeNamedEdit(Area_GB, "Height_Edit");
    for (QLineEdit* edit : {Left_Edit, Top_Edit, Width_Edit, Height_Edit, Idx_Edit}) InstallKeyFilter(*edit, kDigitKeys);
    for (QLineEdit* edit : {Left_Edit, Top_Edit, Width_Edit, Height_Edit}) area->addWidget(edit);
    WndArea_TB = MakeToolButton(Area_GB, "WndArea_TB", QStringLiteral("..."), QStringLiteral("Screen Area"));
    Screen_Button = MakeToolButton(Area_GB, "Screen_Button", QStringLiteral("Screen-Area"));
    Work_Button = MakeToolButton(Area_GB, "Work_Button", QStringLiteral("Work-Area"));
    for (QToolButton* button : {WndArea_TB, Screen_Button, Work_Button}) area->addWidget(button);
    layout->addWidget(Area_GB);

    Udp_GB = new QGroupBox(QStringLiteral("UDP Input"), this);
    auto* udp = new QHBoxLayout(Udp_GB);
    Udp_IpAddr_Port_Frame1 = new TMod_IpAddr_Port_Frame(Udp_GB);
    udp->addWidget(Udp_IpAddr_Port_Frame1);
    layout->addWidget(Udp_GB);

    Files_GB = new QGroupBox(QStringLiteral("Files"), this);
    auto* files = new QFormLayout(Files_GB);
    FileFmt_ComboBox = MakeNamedCombo(Files_GB, "FileFmt_ComboBox");
    files->addRow(QStringLiteral("Format"), FileFmt_ComboBox);
    auto* dirRow = new QHBoxLayout();
    FileDir_Label = new QLabel(Files_GB);
    SpeedButton1 = MakeToolButton(Files_GB, "SpeedButton1", QStringLiteral("..."));
    dirRow->addWidget(FileDir_Label, 1);
    dirRow->addWidget(SpeedButton1);
    files->addRow(QStringLiteral("Source-Dir"), dirRow);
    FileFreq_SpinEdit = MakeSpinEdit(Files_GB, 1, 60);
    files->addRow(QStringLiteral("Frequency"), FileFreq_SpinEdit);
    FileDel_CB = new QCheckBox(QStringLiteral("Delete Files"), Files_GB);
    files->addRow(FileDel_CB);
    layout->addWidget(Files_GB);
    layout->addStretch();

    connect(EditPort_TB, &QToolButton::clicked, this, &TCaptureSourcePage::EditPort_TBClick);
    connect(Windows_TB, &QToolButton::clicked, this, &TCaptureSourcePage::Windows_TBClick);
    connect(WndArea_TB, &QToolButton::clicked, this, &TCaptureSourcePage::WndArea_TBClick);
    connect(Screen_Button, &QToolButton::clicked, this, &TCaptureSourcePage::Screen_ButtonClick);
    connect(Work_Button, &QToolButton::clicked, this, &TCaptureSourcePage::Work_ButtonClick);
}

void TCaptureSourcePage::InitNew(size_t captureCount, const int32_t* internalPort) {
    const QString idx = Q(engine::ZeroPadStr(std::to_string(captureCount), 2));
    Idx_Edit->setText(idx);
    Name_Edit->setText(QStringLiteral("capture_service_") + idx);
    AutoStart_CB->setChecked(false);
    FillChoices(*Encoder_ComboBox, {{"DirectX", engine::kCapEncoderDirectX}, {"System", engine::kCapEncoderSystem}});
    SelectChoice(*Encoder_ComboBox, engine::kCapEncoderDirectX);

    DeskNo_ComboBox->clear();
    for (int monitor = 1; monitor <= engine::GetMonitorCount(); ++monitor)
        DeskNo_ComboBox->addItem(QString::number(monitor), monitor);
    DeskNo_ComboBox->setCurrentIndex(DeskNo_ComboBox->count() > 0 ? 0 : -1);
    ShowInternalPort(internalPort);
    MouseCapture_CB->setChecked(false);
    FillChoices(*PixelFormat_ComboBox, {{"1 bit", 0}, {"4 bit", 1}, {"8 bit", 2}, {"15 bit", 3}, {"16 bit", 4},
                                        {"24 bit", 5}, {"32 bit", 6}});
    SelectChoice(*PixelFormat_ComboBox, 6);

    WinClass_Edit->clear();
    WinCaption_Edit->clear();
    Adjust_CB->setChecked(true);
    SetArea(0, 0, kNewArea, kNewArea);
    EditPort_TB->setChecked(false);
    EditPort_TBClick();

    FillChoices(*FileFmt_ComboBox, {{"PNG", 3}, {"JPG", 1}, {"SVG", 2}, {"BMP", 0}});
    SelectChoice(*FileFmt_ComboBox, 3);
    FileDir_Label->clear();
    FileFreq_SpinEdit->setValue(kNewFileFreqS);
    FileDel_CB->setChecked(true);
}

void TCaptureSourcePage::SelectMethod(uint8_t method) {
    if (!SelectChoice(*Encoder_ComboBox, method) && method == engine::kCapEncoderVlc) {
        // An entry of capture.xml with the libVLC method: offered as it is, so storing keeps it.
        Encoder_ComboBox->addItem(QStringLiteral("VLC"), engine::kCapEncoderVlc);
        SelectChoice(*Encoder_ComboBox, engine::kCapEncoderVlc);
    }
}

std::optional<int> TCaptureSourcePage::ApplyMethod() {
    if (Encoder_ComboBox->currentIndex() < 0) return std::nullopt;
    const int method = ChoiceNumber(*Encoder_ComboBox, -1);
    Port_Panel->setVisible(method == engine::kCapEncoderDirectX);
    Files_GB->setVisible(method == engine::kCapEncoderSystem);
    FillSourceList(method);
    return method;
}

void TCaptureSourcePage::FillSourceList(int method) {
    switch (method) {
        case engine::kCapEncoderDirectX:
            FillChoices(*CaptureSrc_ComboBox, {{"Monitor", engine::kCapKindMonitor}, {"Window", engine::kCapKindWindow},
                                               {"Screen Area", engine::kCapKindArea},
                                               {"All Monitors", engine::kCapKindAllMonitors}});
            break;
        case engine::kCapEncoderVlc:
            FillChoices(*CaptureSrc_ComboBox, {{"TS via UDP", engine::kCapKindUdpStream}});
            break;
        case engine::kCapEncoderSystem:
            FillChoices(*CaptureSrc_ComboBox, {{"Files", engine::kCapKindFiles}});
            break;
        default:
            CaptureSrc_ComboBox->clear();
            break;
    }
    CaptureSrc_ComboBox->setCurrentIndex(CaptureSrc_ComboBox->count() > 0 ? 0 : -1);
}

void TCaptureSourcePage::ShowSourceGroup() {
    for (QGroupBox* group : {Area_GB, Window_GB, Udp_GB, Monitor_GB, Files_GB}) group->hide();
    switch (ChoiceNumber(*CaptureSrc_ComboBox, -1)) {
        case engine::kCapKindMonitor:
            Monitor_GB->setVisible(ChoiceNumber(*Encoder_ComboBox, -1) == engine::kCapEncoderDirectX);
            break;
        case engine::kCapKindWindow:
            Window_GB->show();
            break;
        case engine::kCapKindArea:
            Area_GB->show();
            break;
        case engine::kCapKindFiles:
            Files_GB->show();
            break;
        case engine::kCapKindUdpStream:
            Udp_GB->show();
            break;
        default:
            break;
    }
}

bool TCaptureSourcePage::IsUdpInput() const {
    return ChoiceNumber(*CaptureSrc_ComboBox, -1) == engine::kCapKindUdpStream;
}

void TCaptureSourcePage::LoadFrom(const engine::TScreenCaptureParams& p, const int32_t* internalPort) {
    SelectChoice(*CaptureSrc_ComboBox, p.capKind);
    WinClass_Edit->setText(Q(p.Window.sClass));
    WinCaption_Edit->setText(Q(p.Window.sCaption));
    Adjust_CB->setChecked(p.Window.bAdjust);
    SetArea(p.iLeft, p.iTop, p.iWidth, p.iHeight);
    Udp_IpAddr_Port_Frame1->SetIpText(engine::IpAddrToText(static_cast<uint32_t>(p.capUdpIp)));
    Udp_IpAddr_Port_Frame1->SetPort(p.capUdpPort);
    if (!SelectChoice(*DeskNo_ComboBox, p.capDesktopNo) && DeskNo_ComboBox->count() > 0) DeskNo_ComboBox->setCurrentIndex(0);
    ShowInternalPort(internalPort);
    MouseCapture_CB->setChecked(p.bCapMouse);
    SelectChoice(*PixelFormat_ComboBox, p.capPixelFormat);
    ShowFilesDir(p.Files.capFilesDir);
    FileFreq_SpinEdit->setValue(p.Files.capiFreq);
    SelectChoice(*FileFmt_ComboBox, p.Files.capiFileFmt);
    FileDel_CB->setChecked(p.Files.capbDelete);
}

void TCaptureSourcePage::StoreTo(engine::TScreenCaptureParams& p, int32_t* internalPort) const {
    p.capEncoder = static_cast<uint8_t>(ChoiceNumber(*Encoder_ComboBox, p.capEncoder));
    p.capKind = static_cast<uint8_t>(ChoiceNumber(*CaptureSrc_ComboBox, p.capKind));
    p.capDesktopNo = ChoiceNumber(*DeskNo_ComboBox, p.capDesktopNo);
    // Only a usable port replaces the one the job has: the sink must be able to listen on it.
    if (const std::optional<int32_t> port = ParseIntegerText(S(SinkPort_Edit->text()));
        port && internalPort && *port > 0 && *port <= kMaxPort)
        *internalPort = *port;
    p.capPixelFormat = static_cast<uint8_t>(ChoiceNumber(*PixelFormat_ComboBox, p.capPixelFormat));
    p.bCapMouse = MouseCapture_CB->isChecked();
    p.Window.sClass = S(WinClass_Edit->text());
    p.Window.sCaption = S(WinCaption_Edit->text());
    p.Window.bAdjust = Adjust_CB->isChecked();
    p.iLeft = ReadNumberField(S(Left_Edit->text()));
    p.iTop = ReadNumberField(S(Top_Edit->text()));
    p.iWidth = ReadNumberField(S(Width_Edit->text()));
    p.iHeight = ReadNumberField(S(Height_Edit->text()));
    p.capUdpIp = DottedTextToIpAddr(Udp_IpAddr_Port_Frame1->GetIpText());
    p.capUdpPort = Udp_IpAddr_Port_Frame1->GetPort();
    p.Files.capiFreq = FileFreq_SpinEdit->value();
    p.Files.capiFileFmt = static_cast<uint8_t>(ChoiceNumber(*FileFmt_ComboBox, p.Files.capiFileFmt));
    p.Files.capbDelete = FileDel_CB->isChecked();
}

void TCaptureSourcePage::ShowInternalPort(const int32_t* internalPort) {
    SinkPort_Edit->setText(internalPort ? QString::number(*internalPort) : QString());
}

void TCaptureSourcePage::ShowFilesDir(const std::string& dir) {
    FileDir_Label->setText(ShortenPathForDisplay(Q(dir), FileDir_Label->fontMetrics(), kFilesDirWidthPx));
}

void TCaptureSourcePage::EditPort_TBClick() {
    const bool down = EditPort_TB->isChecked();
    SinkPort_Edit->setEnabled(down);
    SetFieldColor(*SinkPort_Edit, down ? kFieldWhite : kFieldGrey);
}

void TCaptureSourcePage::Windows_TBClick() {
    if (!context_.WndList || pickerOpen_) return;  // a second click while the picker is up
    int result = kModalCancel;
    {
        const QScopedValueRollback open(pickerOpen_, true);
        result = RunModal(*context_.WndList);
    }
    if (result != kModalOk) return;
    std::string className;
    std::string caption;
    context_.WndList->GetSelected(className, caption);
    WinClass_Edit->setText(Q(className));
    WinCaption_Edit->setText(Q(caption));
}

void TCaptureSourcePage::WndArea_TBClick() {
    if (!context_.WndArea || pickerOpen_) return;  // a second click while the picker is up
    // No area to start from: the picker does not open, and the program says why.
    const std::pair<QLineEdit*, const char*> fields[] = {
        {Left_Edit, "Left"}, {Top_Edit, "Top"}, {Width_Edit, "Width"}, {Height_Edit, "Height"}};
    for (const auto& [field, caption] : fields)
        if (field->text().isEmpty()) {
            if (context_.ReportError)
                context_.ReportError(std::string("'' is not a valid integer value (screen area field ") + caption + ")");
            return;
        }
    const QScopedValueRollback open(pickerOpen_, true);
    TWndArea_Form& picker = *context_.WndArea;
    picker.StartLeft = ReadNumberField(S(Left_Edit->text()));
    picker.StartTop = ReadNumberField(S(Top_Edit->text()));
    picker.setGeometry(picker.StartLeft, picker.StartTop, ReadNumberField(S(Width_Edit->text())),
                       ReadNumberField(S(Height_Edit->text())));
    {
        // The editor steps aside for the picker; its own modal loop, and with it the edit, goes on.
        const TScopedModalHide hidden(*window());
        RunModal(picker);
    }
    SetArea(picker.x(), picker.y(), picker.width(), picker.height());
}

void TCaptureSourcePage::Screen_ButtonClick() {
    if (const auto monitor = platform::PrimaryMonitor(*platform::CurrentDisplay()))
        SetArea(0, 0, monitor->Monitor.Width(), monitor->Monitor.Height());
}

void TCaptureSourcePage::Work_ButtonClick() {
    if (const auto monitor = platform::PrimaryMonitor(*platform::CurrentDisplay()))
        SetArea(0, 0, monitor->WorkArea.Width(), monitor->WorkArea.Height());
}

void TCaptureSourcePage::SetArea(int left, int top, int width, int height) {
    Left_Edit->setText(QString::number(left));
    Top_Edit->setText(QString::number(top));
    Width_Edit->setText(QString::number(width));
    Height_Edit->setText(QString::number(height));
}

}  // namespace app
