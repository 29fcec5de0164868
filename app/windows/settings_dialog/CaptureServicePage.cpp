#include "app/windows/settings_dialog/CaptureServicePage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <mutex>

#include "app/settings/app_globals.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/settings_dialog/ColumnWidths.h"
#include "app/windows/settings_dialog/ListGridModel.h"
#include "app/windows/settings_dialog/SettingsFormHost.h"
#include "app/windows/settings_dialog/SettingsListView.h"
#include "common/MsgDlgWrappers.h"
#include "engine/settings/program_state.h"

namespace app {
namespace {

constexpr const char* kNoCaptureText = "No Capture defined";

}  // namespace

TCaptureServicePage::TCaptureServicePage(ISettingsFormHost& host, std::function<void()> leaveApp, QWidget* parent)
    : QWidget(parent), host_(host), leaveApp_(std::move(leaveApp)) {
    auto* hls = new QGroupBox(tr("HLS Options"), this);
    NoOfSeg_SpinEdit = new TSpinEdit(hls);
    SetupSpin(*NoOfSeg_SpinEdit, 1, 20);
    SegLen_SpinEdit = new TSpinEdit(hls);
    SetupSpin(*SegLen_SpinEdit, 1, 100);
    auto* hlsLayout = new QGridLayout(hls);
    hlsLayout->addWidget(new QLabel(tr("No. of Segments"), hls), 0, 0);
    hlsLayout->addWidget(NoOfSeg_SpinEdit, 0, 1);
    hlsLayout->addWidget(new QLabel(tr("Segment Length"), hls), 1, 0);
    hlsLayout->addWidget(SegLen_SpinEdit, 1, 1);
    hlsLayout->addWidget(new QLabel(tr("sec"), hls), 1, 2);
    hlsLayout->setColumnStretch(3, 1);

    auto* group = new QGroupBox(tr("Capture-Services"), this);
    const TCaptureList& list = host_.CaptureList();
    const auto entryAt = [&list](int row) -> const TCaptureListEntry& { return *list.Items()[static_cast<size_t>(row)]; };
    model_ = new TListGridModel(
        [&list] { return static_cast<int>(list.Count()); },
        {{QStringLiteral("IDX"), [entryAt](int row) { return QString::number(entryAt(row).Idx); }, {}},
         {QStringLiteral("Name"), [entryAt](int row) { return QString::fromStdString(entryAt(row).Name); }, {}},
         {QStringLiteral("Streamer"),
          [this, entryAt](int row) { return QString::number(host_.ShareCount(entryAt(row))); },
          {}}},
        this);
    Capture_VST = MakeSettingsListView(group, model_);
    AddCapture_TB = new QPushButton(tr("Add Capture"), group);
    EditCapture_TB = new QPushButton(tr("Edit Capture"), group);
    DelCapture_TB = new QPushButton(tr("Delete Capture"), group);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddCapture_TB);
    buttons->addWidget(EditCapture_TB);
    buttons->addWidget(DelCapture_TB);
    buttons->addStretch(1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(Capture_VST, 1);
    groupLayout->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hls);
    layout->addWidget(group, 1);

    connect(AddCapture_TB, &QPushButton::clicked, this, [this] { AddCapture_TBClick(); });
    connect(EditCapture_TB, &QPushButton::clicked, this, [this] { EditCapture_TBClick(); });
    connect(DelCapture_TB, &QPushButton::clicked, this, [this] { DelCapture_TBClick(); });
    connect(Capture_VST, &QTableView::doubleClicked, this, [this] { EditCapture_TBClick(); });
}

void TCaptureServicePage::LoadFrom(const engine::TSettings& settings) {
    NoOfSeg_SpinEdit->setValue(settings.NumSeg);
    SegLen_SpinEdit->setValue(settings.SegLen);
}

void TCaptureServicePage::StoreTo(engine::TSettings& settings) const {
    settings.SegLen = SegLen_SpinEdit->value();
    settings.NumSeg = NoOfSeg_SpinEdit->value();
}

void TCaptureServicePage::FillCaptureList() { model_->Refill(); }

void TCaptureServicePage::LoadColumnWidths() {
    app::LoadColumnWidths(*Capture_VST->horizontalHeader(), kListName, {{0, 40}, {1, 250}});
}

void TCaptureServicePage::SaveColumnWidths() const { app::SaveColumnWidths(*Capture_VST->horizontalHeader(), kListName); }

TCaptureListEntry* TCaptureServicePage::FocusedEntry() const {
    const int row = FocusedRow(*Capture_VST);
    const auto& items = host_.CaptureList().Items();
    return row >= 0 && row < static_cast<int>(items.size()) ? items[static_cast<size_t>(row)].get() : nullptr;
}

void TCaptureServicePage::SaveCaptures() { host_.SaveCaptureList(); }

void TCaptureServicePage::AddCapture_TBClick() {
    TCaptureList& list = host_.CaptureList();
    std::unique_ptr<TCaptureListEntry> made = host_.InitCaptureEntry();
    if (!made) return;
    TCaptureListEntry* entry = nullptr;
    {
        std::lock_guard lock(engine::GlobalLock());  // the web servers walk the list under this lock
        entry = &list.Append(std::move(made));
    }
    if (!host_.RunCaptureEditor(*entry, true)) {
        host_.FreeCaptureEntry(*entry);  // removes it from the list too
        model_->Refill();
        return;
    }
    host_.CaptureEntryAdded(*entry);  // the job is prepared with the entry's Idx, the panel initialised
    model_->Refill();
    SaveCaptures();
}

void TCaptureServicePage::EditCapture_TBClick() {
    TCaptureListEntry* entry = FocusedEntry();
    if (!entry) return;
    if (host_.RunCaptureEditor(*entry, false)) {
        model_->Refill();
        SaveCaptures();
    }
}

void TCaptureServicePage::DelCapture_TBClick() {
    TCaptureList& list = host_.CaptureList();
    if (TCaptureListEntry* entry = FocusedEntry()) {
        const int answer = ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                                      QStringLiteral("The selected Capture will be deleted! Are you sure?"), 1,
                                      QString(), QStringLiteral("Cancel"), QStringLiteral("Yes"));
        if (answer == kMsgDlgButton1) {
            host_.FreeCaptureEntry(*entry);  // removes it from the list too
            model_->Refill();
            SaveCaptures();
        }
    }
    if (list.Count() > 0) return;
    const int choice = ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                                  QString::fromLatin1(kNoCaptureText), 1, QString(), QStringLiteral("Leave App"),
                                  QStringLiteral("Add Capture"));
    if (choice == kMsgDlgButton1) {
        AddCapture_TBClick();
    } else if (leaveApp_) {
        leaveApp_();
    }
}

}  // namespace app
