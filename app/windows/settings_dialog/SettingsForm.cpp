#include "app/windows/settings_dialog/SettingsForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "app/settings/app_globals.h"
#include "app/settings/registry_store.h"
#include "app/windows/base/FormBounds.h"
#include "app/windows/settings_dialog/CaptureServicePage.h"
#include "app/windows/settings_dialog/GeneralSettingsPage.h"
#include "app/windows/settings_dialog/ImageConversionPage.h"
#include "app/windows/settings_dialog/MonitorCentring.h"
#include "app/windows/settings_dialog/SettingsFormHost.h"
#include "app/windows/settings_dialog/WebServerPage.h"
#include "common/MsgDlgWrappers.h"
#include "engine/settings/settings_store.h"

namespace app {
namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kCaptionRole = Qt::UserRole + 1;

struct TPageTreeEntry {
    const char* Text;
    int Level;
    int Page;
    const char* Caption;
};

constexpr TPageTreeEntry kPageTree[] = {
    {"Main Settings", 0, TSettings_Form::kNoPage, ""},
    {"General", 1, TSettings_Form::kPageGeneral, "General Settings"},
    {"Capture-Sevice", 1, TSettings_Form::kPageCaptureService, "Capture-Service"},
    {"Web-Server/-Socket", 1, TSettings_Form::kPageWebServer, "Web-Server / -Socket"},
    {"Image Conversion", 1, TSettings_Form::kPageImageConversion, "Image Conversion"},
};

}  // namespace

QString SettingsCaption(int instanceIndex) {
    const QString caption = QStringLiteral("Framewick - Settings");
    return instanceIndex >= 1 ? QStringLiteral("[%1] ").arg(instanceIndex) + caption : caption;
}

TSettings_Form::TSettings_Form(ISettingsFormHost& host, THttpSetup_Form& httpSetup, TSetupWebSocket_Form& wsSetup,
                               IFileChooser& chooser, QWidget* parent)
    : QDialog(parent), host_(host), centring_(new TMonitorCentring(*this)) {
    setWindowTitle(SettingsCaption(InstanceIndex));

    Set_VST = new QTreeWidget(this);
    Set_VST->setHeaderHidden(true);
    Set_VST->setColumnCount(1);
    Set_VST->setFixedWidth(kPageTreeWidthPx);
    Set_VST->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Set_VST->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Set_VST->setStyleSheet(QStringLiteral("QTreeView::item:selected { color: white; }"));

    PageCaption_Label = new QLabel(this);
    QFont captionFont = PageCaption_Label->font();
    captionFont.setBold(true);
    PageCaption_Label->setFont(captionFont);
    Settings_PageControl = new QStackedWidget(this);
    noPage_ = new QWidget(Settings_PageControl);
    TabSheet_General = new TGeneralSettingsPage(chooser, [this] { DownloadVlc(); }, Settings_PageControl);
    TabSheet2 = new TCaptureServicePage(host_, [this] { LeaveApp(); }, Settings_PageControl);
    TabSheet1 = new TWebServerPage(host_, httpSetup, wsSetup, Settings_PageControl);
    TabSheet3 = new TImageConversionPage(chooser, Settings_PageControl);
    for (QWidget* page : {noPage_, static_cast<QWidget*>(TabSheet_General), static_cast<QWidget*>(TabSheet2),
                          static_cast<QWidget*>(TabSheet1), static_cast<QWidget*>(TabSheet3)})
        Settings_PageControl->addWidget(page);
    // Repaint the web-server list whenever its page comes up.
    connect(Settings_PageControl, &QStackedWidget::currentChanged, this, [this] { TabSheet1->Http_VST->viewport()->update(); });

    OK_BitBtn = new QPushButton(tr("OK"), this);
    OK_BitBtn->setDefault(true);
    Cancel_BitBtn = new QPushButton(tr("Cancel"), this);
    Help_BitBtn = new QPushButton(tr("Help"), this);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(2);
    bottom->setContentsMargins(0, 0, 4, 0);
    bottom->addStretch(1);
    bottom->addWidget(OK_BitBtn);
    bottom->addWidget(Cancel_BitBtn);
    bottom->addWidget(Help_BitBtn);

    auto* pageColumn = new QVBoxLayout;
    pageColumn->addWidget(PageCaption_Label);
    pageColumn->addWidget(Settings_PageControl, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(Set_VST);
    body->addLayout(pageColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    BuildPageTree();
    connect(Set_VST, &QTreeWidget::currentItemChanged, this, [this] { ShowFocusedPage(); });
    connect(OK_BitBtn, &QPushButton::clicked, this, [this] { OK_BitBtnClick(); });
    connect(Cancel_BitBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Help_BitBtn, &QPushButton::clicked, this, [this] { host_.ShowHelp(kHelpAnchor); });
}

void TSettings_Form::BuildPageTree() {
    Set_VST->clear();
    QTreeWidgetItem* parent = nullptr;
    for (const TPageTreeEntry& node : kPageTree) {
        auto* item = node.Level == 0 || !parent ? new QTreeWidgetItem(Set_VST) : new QTreeWidgetItem(parent);
        item->setText(0, QString::fromLatin1(node.Text));
        item->setData(0, kPageRole, node.Page);
        item->setData(0, kCaptionRole, QString::fromLatin1(node.Caption));
        QFont font(QStringLiteral("Verdana"));
        font.setBold(node.Level == 0);  // the entry with children
        item->setFont(0, font);
        // Level 0 in dark red (0x000080), the pages in navy (0x800000).
        item->setForeground(0, node.Level == 0 ? QColor(0x80, 0x00, 0x00) : QColor(0x00, 0x00, 0x80));
        if (node.Level == 0) parent = item;
    }
    Set_VST->expandAll();
    ShowPage(kNoPage, false, QString());
}

void TSettings_Form::ShowPage(int index, bool visible, const QString& caption) {
    if (index < kPageGeneral || index > kPageImageConversion || !visible) {
        Settings_PageControl->setCurrentWidget(noPage_);
        PageCaption_Label->clear();
        currentPage_ = kNoPage;
        return;
    }
    Settings_PageControl->setCurrentIndex(index + 1);
    PageCaption_Label->setText(caption);
    currentPage_ = index;
}

void TSettings_Form::ShowFocusedPage() {
    ShowPage(kNoPage, false, QString());
    if (const QTreeWidgetItem* item = Set_VST->currentItem())
        ShowPage(item->data(0, kPageRole).toInt(), true, item->data(0, kCaptionRole).toString());
}

void TSettings_Form::SelectPage(int pageIndex) {
    Set_VST->collapseAll();
    for (QTreeWidgetItemIterator it(Set_VST); *it; ++it) {
        if ((*it)->data(0, kPageRole).toInt() != pageIndex) continue;
        // The focused entry is always in sight: the entries above it open again. Qt would open them
        // only when the focus moves to another entry, so an opening that focuses the entry focused
        // before would leave it folded away.
        for (QTreeWidgetItem* parent = (*it)->parent(); parent != nullptr; parent = parent->parent())
            parent->setExpanded(true);
        Set_VST->setCurrentItem(*it);
        (*it)->setSelected(true);
        ShowPage(pageIndex, true, (*it)->data(0, kCaptionRole).toString());
        break;
    }
    ShowFocusedPage();
}

void TSettings_Form::showEvent(QShowEvent* event) {
    FormShow();
    if (centreMonitor_ > 0) centring_->Centre(centreMonitor_);  // before the dialog's own placing
    QDialog::showEvent(event);
}

void TSettings_Form::FormShow() {
    TFormBounds bounds;
    if (ReadFormBounds(kPositionName, bounds) && bounds.Width > 0 && bounds.Height > 0) {
        resize(bounds.Width, bounds.Height);
    } else {
        resize(kDefaultWidth, kDefaultHeight);
    }
    TabSheet1->FillHttpList();
    TabSheet2->FillCaptureList();
    TabSheet1->FillWebSocketList();
    TabSheet2->LoadColumnWidths();
    TabSheet1->LoadColumnWidths();

    const auto settings = engine::Settings();
    TabSheet_General->LoadFrom(*settings);
    TabSheet2->LoadFrom(*settings);
    TabSheet3->LoadFrom(*settings);
    TabSheet1->ArrangeHttpColumns();
}

void TSettings_Form::OK_BitBtnClick() {
    engine::UpdateSettings([this](engine::TSettings& settings) {
        TabSheet_General->StoreTo(settings);
        TabSheet2->StoreTo(settings);
        TabSheet3->StoreTo(settings);
    });
    accept();
}

void TSettings_Form::done(int result) {
    TabSheet2->SaveColumnWidths();
    TabSheet1->SaveColumnWidths();
    SaveFormBounds(*this, kPositionName);
    QDialog::done(result);
}

void TSettings_Form::AddHttpServer() { TabSheet1->AddHttpServer(); }

void TSettings_Form::EditHttpServer(THttpServerEntry& entry, bool allowTest) { TabSheet1->EditHttpServer(entry, allowTest); }

void TSettings_Form::DownloadVlc() {
    const int answer = ShowMsgDlg(components::mtConfirmation, QStringLiteral("Confirmation"),
                                  QStringLiteral("The application has to be terminated - are you sure?"), 1, QString(),
                                  QStringLiteral("No"), QStringLiteral("Yes"));
    if (answer != kMsgDlgButton1) return;
    host_.StartDownloader();
    host_.KillOwnProcess();
}

void TSettings_Form::LeaveApp() {
    host_.CloseMainWindow();
    reject();
}

}  // namespace app
