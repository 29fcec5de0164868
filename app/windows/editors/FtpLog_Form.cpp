#include "app/windows/editors/FtpLog_Form.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace app {

namespace {
constexpr int kLogWidthPx = 420;
constexpr int kLogHeightPx = 300;
}  // namespace

TFtpLog_Form::TFtpLog_Form(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("FTP Log"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // Modal over the share editor: the editor's own modal loop would otherwise block its input.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    Log_Memo = new QPlainTextEdit(this);
    Log_Memo->setObjectName(QStringLiteral("Log_Memo"));
    Log_Memo->setReadOnly(true);
    Log_Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    layout->addWidget(Log_Memo);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    resize(kLogWidthPx, kLogHeightPx);
}

void TFtpLog_Form::FormShow() {
    Log_Memo->clear();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

void TFtpLog_Form::AddLine(const QString& text) { Log_Memo->appendPlainText(text); }

void TFtpLog_Form::done(int result) {
    QDialog::done(result);
    if (OnClosed) OnClosed();
}

}  // namespace app
