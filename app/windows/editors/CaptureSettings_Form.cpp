#include "app/windows/editors/CaptureSettings_Form.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/settings/registry_store.h"
#include "app/windows/base/FormBounds.h"
#include "common/MsgDlgWrappers.h"
#include "engine/util/monitors.h"

namespace app {

namespace {
constexpr int kShareListColumn = 2;
constexpr const char* kHelpAnchor = "#4.6.2 Screen Capture Settings";
}  // namespace

TCaptureSettings_Form::TCaptureSettings_Form(TCaptureEditorContext context, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Setup Capture-Service"));
    auto* layout = new QVBoxLayout(this);
    Setup_ScreenCapture_Frame1 = new TSetup_ScreenCapture_Frame(std::move(context), this);
    layout->addWidget(Setup_ScreenCapture_Frame1);
    auto* bottom = new QHBoxLayout();
    OK_BitBtn = new QPushButton(QStringLiteral("OK"), this);
    Cancel_BitBtn = new QPushButton(QStringLiteral("Cancel"), this);
    Help_BitBtn = new QPushButton(QStringLiteral("Help"), this);
    OK_BitBtn->setDefault(true);
    bottom->addStretch();
    for (QPushButton* button : {OK_BitBtn, Cancel_BitBtn, Help_BitBtn}) bottom->addWidget(button);
    layout->addLayout(bottom);
    connect(OK_BitBtn, &QPushButton::clicked, this, [this] { OK_BitBtnClick(); });
    connect(Cancel_BitBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Help_BitBtn, &QPushButton::clicked, this, [this] {
        const auto& showHelp = Setup_ScreenCapture_Frame1->Context().ShowHelp;
        if (showHelp) showHelp(QString::fromLatin1(kHelpAnchor));
    });
}

void TCaptureSettings_Form::FormShow() {
    if (!RestoreFormBounds(*this, kCaptureSettingsPositionName)) {
        const auto area = engine::GetNearestMonitorWorkArea({0, 0});
        const int areaWidth = area ? area->Width() : 0;
        const int areaHeight = area ? area->Height() : 0;
        move(areaWidth / 2 - width() / 2, areaHeight / 2 - height() / 2);
        resize(kCaptureSettingsSizePx, kCaptureSettingsSizePx);
    }
    LoadColumnWidths();
}

void TCaptureSettings_Form::FormClose() {
    SaveColumnWidths();
    SaveFormBounds(*this, kCaptureSettingsPositionName);
}

void TCaptureSettings_Form::LoadColumnWidths() {
    QTreeWidget& list = *Setup_ScreenCapture_Frame1->Streamer_VST;
    list.setColumnWidth(0, kShareStateColumnWidthPx);
    list.setColumnWidth(1, kShareStateColumnWidthPx);
    list.setColumnWidth(kShareListColumn,
                        RegReadInstInteger(ColumnWidthValueName(kShareListColumn, kShareListName), kShareListDefaultWidthPx));
}

void TCaptureSettings_Form::SaveColumnWidths() {
    RegWriteInstInteger(ColumnWidthValueName(kShareListColumn, kShareListName),
                        Setup_ScreenCapture_Frame1->Streamer_VST->columnWidth(kShareListColumn));
}

void TCaptureSettings_Form::OK_BitBtnClick() {
    if (!Setup_ScreenCapture_Frame1->HasShares()) {
        ShowMsgDlg(components::mtError, QStringLiteral("Framewick"), QStringLiteral("No Share defined!"), 1, QString(),
                   QString(), QStringLiteral("OK"));
        return;
    }
    accept();
}

void TCaptureSettings_Form::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TCaptureSettings_Form::done(int result) {
    FormClose();
    QDialog::done(result);
}

}  // namespace app
