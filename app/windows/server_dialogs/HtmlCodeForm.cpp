#include "app/windows/server_dialogs/HtmlCodeForm.h"

#include <QFile>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/settings/registry_store.h"
#include "app/windows/base/FormBounds.h"
#include "common/MsgDlgWrappers.h"
#include "engine/util/atomic_file.h"

namespace app {

THtml_Form::THtml_Form(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("index.html"));
    HTML_Memo = new QPlainTextEdit(this);
    HTML_Memo->setObjectName(QStringLiteral("HTML_Memo"));
    HTML_Memo->setFont(QFont(QStringLiteral("Verdana")));
    HTML_Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    HTML_Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    HTML_Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Save_Btn = new QPushButton(tr("Save"), this);
    Save_Btn->setDefault(true);
    Cancel_Btn = new QPushButton(tr("Cancel"), this);
    Help_Btn = new QPushButton(tr("Help"), this);  // there is no help page for the editor
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addStretch(1);
    buttons->addWidget(Save_Btn);
    buttons->addWidget(Cancel_Btn);
    buttons->addWidget(Help_Btn);
    buttons->setContentsMargins(0, 0, 4, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HTML_Memo, 1);
    layout->addLayout(buttons);

    connect(Save_Btn, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(Cancel_Btn, &QPushButton::clicked, this, &QDialog::reject);
}

void THtml_Form::FormShow() {
    RestoreFormBounds(*this, kPositionName, TFormBounds{kDefaultTop, kDefaultLeft, kDefaultHeight, kDefaultWidth});
}

bool THtml_Form::LoadFile() {
    lastError_.clear();
    QFile file(QString::fromStdString(FileName));
    if (!file.open(QIODevice::ReadOnly)) {
        HTML_Memo->clear();
        lastError_ = "cannot read " + FileName + ": " + file.errorString().toStdString();
        return false;
    }
    HTML_Memo->setPlainText(QString::fromUtf8(file.readAll()));
    return true;
}

void THtml_Form::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void THtml_Form::SaveClick() {
    // The web servers copy this file while they run: it is replaced whole, never half written, and
    // never when the user made it read-only.
    std::string error;
    if (!engine::WriteUserFileAtomic(FileName, HTML_Memo->toPlainText().toStdString(), &error)) {
        lastError_ = error.empty() ? "cannot write " + FileName : error;
        ShowMsgDlg(components::mtError, QStringLiteral("Framewick"), QString::fromStdString(lastError_), 1,
                   QString(), QString(), QStringLiteral("OK"));
        return;  // the text stays in the editor, so nothing typed is lost
    }
    lastError_.clear();
    accept();
}

void THtml_Form::done(int result) {
    SaveFormBounds(*this, kPositionName);
    QDialog::done(result);
}

}  // namespace app
