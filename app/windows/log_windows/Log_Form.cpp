#include "app/windows/log_windows/Log_Form.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/settings/app_globals.h"
#include "app/windows/log_windows/LogDockSite.h"
#include "app/windows/base/FormBounds.h"
#include "app/windows/base/SpeedButton.h"
#include "app/windows/log_windows/LogListBox.h"
#include "app/windows/log_windows/LogWindowCaption.h"

namespace app {

namespace {

constexpr int kTopPanelHeightPx = 30;
const TFormBounds kDefaultBounds{50, 50, 400, 600};  // top, left, height, width

}  // namespace

TLog_Form::TLog_Form(ILogDockSite& dockSite, QWidget* parent)
    : QWidget(parent, Qt::Window), dockSite_(dockSite), topPanel_(new QWidget(this)) {
    setObjectName(QStringLiteral("Log_Form"));
    setWindowTitle(InstanceCaption(QStringLiteral("SNMP Log"), InstanceIndex.load()));
    topPanel_->setFixedHeight(kTopPanelHeightPx);
    startTB_ = MakeSpeedButton(topPanel_, "Start_TB", ">", "Continue Log-Output", true);
    freezeTB_ = MakeSpeedButton(topPanel_, "Freeze_TB", "||", "Freeze Log-Output", true);
    clearTB_ = MakeSpeedButton(topPanel_, "Clear_TB", "C", "Clear", false);
    dockTB_ = MakeSpeedButton(topPanel_, "Dock_TB", "D", "Dock/Undock", true);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(startTB_);
    row->addWidget(freezeTB_);
    row->addWidget(clearTB_);
    row->addStretch();
    topPanel_->setLayout(row);

    logLB_ = new TLogListBox(SnmpLogLineColors, this);
    logLB_->setObjectName(QStringLiteral("LogLB"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(topPanel_);
    column->addWidget(logLB_);

    // The two output buttons form a group in which both may be up.
    connect(startTB_, &QToolButton::clicked, this, [this](bool down) {
        if (down) freezeTB_->setChecked(false);
    });
    connect(freezeTB_, &QToolButton::clicked, this, [this](bool down) {
        if (down) startTB_->setChecked(false);
    });
    connect(clearTB_, &QToolButton::clicked, logLB_, &QListWidget::clear);
    connect(dockTB_, &QToolButton::clicked, this, [this](bool down) { SetDocked(down); });
}

bool TLog_Form::Docked() const { return dockTB_->isChecked(); }

void TLog_Form::SetDockState(bool docked) { dockTB_->setChecked(docked); }

void TLog_Form::SetDocked(bool dock) {
    if (dock) {
        if (isWindow()) {
            floatingRect_ = geometry();
            SaveFormBounds(*this, kBoundsName);
        }
        if (!dockSite_.DockDrop(*this)) SetDockState(false);
        return;
    }
    dockSite_.UnDock(*this);
    if (!isWindow()) {  // floating failed
        SetDockState(true);
        return;
    }
    if (floatingRect_.isValid()) setGeometry(floatingRect_);
    show();
}

void TLog_Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (isWindow()) RestoreFormBounds(*this, kBoundsName, kDefaultBounds);
    startTB_->setChecked(true);
    freezeTB_->setChecked(false);
}

void TLog_Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!isWindow()) return;
    SaveFormBounds(*this, kBoundsName);
    if (!Docked()) SetDocked(true);
}

void TLog_Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Dock_TB keeps to the right edge of the top panel.
    dockTB_->move(topPanel_->width() - dockTB_->width() - kDockButtonRightGapPx, (kTopPanelHeightPx - dockTB_->height()) / 2);
}

}  // namespace app
