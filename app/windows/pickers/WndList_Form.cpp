#include "app/windows/pickers/WndList_Form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace app {

namespace {
enum : int { kColHandle = 0, kColClass = 1, kColCaption = 2 };
constexpr int kHandleColumnWidthPx = 90;
constexpr int kClassColumnWidthPx = 160;
constexpr int kListWidthPx = 600;
constexpr int kListHeightPx = 400;
}  // namespace

std::vector<TWndListEntry> CollectVisibleWindows(platform::IDisplay& display) {
    std::vector<TWndListEntry> list;
    // The windows a person sees, top-most first, as the capture's window search sees them.
    for (platform::WindowId window : display.TopLevelWindows()) {
        list.push_back({display.GetWindowClass(window).value_or(std::string()),
                        display.GetWindowCaption(window).value_or(std::string()), window});
    }
    return list;
}

QString WindowHandleText(platform::WindowId handle) {
    return QStringLiteral("0x") + QStringLiteral("%1").arg(handle, 4, 16, QLatin1Char('0')).toUpper();
}

TWndList_Form::TWndList_Form(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Window List"));
    auto* layout = new QVBoxLayout(this);
    Refresh_TB = new QToolButton(this);
    Refresh_TB->setText(QStringLiteral("Refresh"));
    Refresh_TB->setToolTip(QStringLiteral("Refresh"));
    layout->addWidget(Refresh_TB, 0, Qt::AlignLeft);
    Wnd_VST = new QTreeWidget(this);
    Wnd_VST->setObjectName(QStringLiteral("Wnd_VST"));
    Wnd_VST->setRootIsDecorated(false);
    Wnd_VST->setSelectionBehavior(QAbstractItemView::SelectRows);
    Wnd_VST->setHeaderLabels({QStringLiteral("HWND"), QStringLiteral("Class"), QStringLiteral("Caption")});
    Wnd_VST->headerItem()->setTextAlignment(kColHandle, Qt::AlignCenter);
    Wnd_VST->setColumnWidth(kColHandle, kHandleColumnWidthPx);
    Wnd_VST->setColumnWidth(kColClass, kClassColumnWidthPx);
    Wnd_VST->header()->setStretchLastSection(true);
    layout->addWidget(Wnd_VST);
    auto* bottom = new QHBoxLayout();
    OK_Btn = new QPushButton(QStringLiteral("OK"), this);
    Cancel_Btn = new QPushButton(QStringLiteral("Cancel"), this);
    Help_Btn = new QPushButton(QStringLiteral("Help"), this);
    OK_Btn->setDefault(true);
    bottom->addStretch();
    for (QPushButton* button : {OK_Btn, Cancel_Btn, Help_Btn}) bottom->addWidget(button);
    layout->addLayout(bottom);
    connect(OK_Btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel_Btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Refresh_TB, &QToolButton::clicked, this, [this] { Refresh(); });
    resize(kListWidthPx, kListHeightPx);
}

void TWndList_Form::Refresh() {
    Wnd_VST->clear();
    wndList_ = CollectVisibleWindows(*platform::CurrentDisplay());
    for (const TWndListEntry& entry : wndList_) {
        auto* row = new QTreeWidgetItem(Wnd_VST, {WindowHandleText(entry.Handle), QString::fromStdString(entry.ClassName),
                                                  QString::fromStdString(entry.Caption)});
        row->setTextAlignment(kColHandle, Qt::AlignCenter);
    }
}

void TWndList_Form::GetSelected(std::string& className, std::string& caption) const {
    const QTreeWidgetItem* row = Wnd_VST->currentItem();
    className = row ? row->text(kColClass).toStdString() : std::string();
    caption = row ? row->text(kColCaption).toStdString() : std::string();
}

void TWndList_Form::showEvent(QShowEvent* event) {
    Refresh();
    QDialog::showEvent(event);
}

void TWndList_Form::done(int result) {
    wndList_.clear();  // the rows stay until the next refresh
    QDialog::done(result);
}

}  // namespace app
