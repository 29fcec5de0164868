#include "app/windows/small_windows/StartDownloader_Form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {

const char* const kNoticeText =
    "VLC Plug-In not found !\n\n"
    "The downloader installs the VLC library version that Framewick needs automatically.\n"
    "Like the Quillmar software installer it needs administrator rights.\n"
    "An installed VLC stays unchanged.";

}  // namespace

TStartDownloader_Form::TStartDownloader_Form(QWidget* parent)
    : QDialog(parent),
      memo_(new QPlainTextEdit(this)),
      startButton_(new QPushButton(QStringLiteral("Start Downloader"), this)),
      exitButton_(new QPushButton(QStringLiteral("Exit"), this)),
      showAgainCB_(new QCheckBox(QStringLiteral("do not show again"), this)) {
    setObjectName(QStringLiteral("StartDownloader_Form"));
    setWindowTitle(QStringLiteral("Start Downloader"));
    setModal(true);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setPlainText(QString::fromLatin1(kNoticeText));
    showAgainCB_->setObjectName(QStringLiteral("ShowAgain_CB"));
    startButton_->setDefault(true);
    connect(startButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showAgainCB_);
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(exitButton_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(memo_);
    column->addLayout(buttons);
}

void TStartDownloader_Form::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showAgainCB_->setVisible(showAgain_);
}

void TStartDownloader_Form::done(int result) {
    showAgain_ = !showAgainCB_->isChecked();
    QDialog::done(result);
}

}  // namespace app
