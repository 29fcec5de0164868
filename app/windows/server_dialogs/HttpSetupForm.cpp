#include "app/windows/server_dialogs/HttpSetupForm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/DigitRules.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "app/windows/base/PathEllipsis.h"
#include "common/MsgDlgWrappers.h"
#include "engine/http/capture_http_server.h"
#include "engine/util/path_utils.h"

namespace app {
namespace {

namespace fs = std::filesystem;

// The test server belongs to no share and posts to no window.
class TTestServerHost final : public engine::IHttpServerHost {
public:
    engine::TShareId FindShareIdForPath(const std::string&) override { return 0; }
    platform::IMessagePoster& Notifier() override { return nowhere_; }

private:
    platform::TNoPoster nowhere_;
};

bool ContainsIgnoringCase(const QListWidget& list, const QString& text) {
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->text().compare(text, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void ShowError(const QString& caption, const QString& text) {
    ShowMsgDlg(components::mtError, caption, text, 1, QString(), QString(), QStringLiteral("OK"));
}

}  // namespace

THttpSetup_Form::THttpSetup_Form(IFileChooser& chooser, THtml_Form& htmlForm, THelpFunction showHelp,
                                 QWidget* parent)
    : QDialog(parent), chooser_(chooser), htmlForm_(htmlForm), showHelp_(std::move(showHelp)) {
    setWindowTitle(QStringLiteral("Setup Web-Server "));
    auto* group = new QGroupBox(tr("HTTP Server"), this);
    Name_Edit = new QLineEdit(group);
    HttpAddr_Port_Frame = new TMod_IpAddr_Port_Frame(group);
    Active_CB = new QCheckBox(tr("Active"), group);
    Ext_CB = new QCheckBox(tr("use external Web-Server"), group);
    Login_CB = new QCheckBox(tr("Authentication"), group);
    User_Edit = new QLineEdit(group);
    Pw_Edit = new QLineEdit(group);  // shown as typed
    Root_Label = new QLabel(group);
    Root_Label->setFixedWidth(kRootLabelWidthPx);
    LogPath_SB = new QPushButton(QStringLiteral("..."), group);
    IdxHtml_Label = new QLabel(group);
    IdxHtml_Label->setFixedWidth(kIndexLabelWidthPx);
    IdxFile_TB = new QPushButton(QStringLiteral("..."), group);
    EditIdx_TB = new QPushButton(tr("Edit Index-HTML"), group);

    auto* form = new QFormLayout(group);
    form->addRow(tr("Name"), Name_Edit);
    form->addRow(HttpAddr_Port_Frame);
    form->addRow(Active_CB);
    form->addRow(Ext_CB);
    form->addRow(Login_CB);
    form->addRow(tr("Username"), User_Edit);
    form->addRow(tr("Password"), Pw_Edit);
    auto* rootRow = new QHBoxLayout;
    rootRow->addWidget(Root_Label, 1);
    rootRow->addWidget(LogPath_SB);
    form->addRow(tr("Root-Path"), rootRow);
    auto* indexRow = new QHBoxLayout;
    indexRow->addWidget(IdxHtml_Label, 1);
    indexRow->addWidget(IdxFile_TB);
    indexRow->addWidget(EditIdx_TB);
    form->addRow(tr("index.html"), indexRow);

    auto* files = new QGroupBox(tr("Files"), this);
    File_ListBox = new QListWidget(files);
    AddFile_TB = new QPushButton(tr("Add File"), files);
    DelFile_TB = new QPushButton(tr("Delete File"), files);
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(AddFile_TB);
    fileButtons->addWidget(DelFile_TB);
    fileButtons->addStretch(1);
    auto* fileLayout = new QHBoxLayout(files);
    fileLayout->addWidget(File_ListBox, 1);
    fileLayout->addLayout(fileButtons);

    OK_BitBtn = new QPushButton(tr("OK"), this);
    OK_BitBtn->setDefault(true);
    Cancel_BitBtn = new QPushButton(tr("Cancel"), this);
    Help_BitBtn = new QPushButton(tr("Help"), this);
    Test_TB = new QPushButton(tr("Test"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Test_TB);
    buttons->addStretch(1);
    buttons->addWidget(OK_BitBtn);
    buttons->addWidget(Cancel_BitBtn);
    buttons->addWidget(Help_BitBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(files, 1);
    layout->addLayout(buttons);

    connect(LogPath_SB, &QPushButton::clicked, this, [this] { LogPath_SBClick(); });
    connect(IdxFile_TB, &QPushButton::clicked, this, [this] { IdxFile_TBClick(); });
    connect(EditIdx_TB, &QPushButton::clicked, this, [this] { EditIdx_TBClick(); });
    connect(AddFile_TB, &QPushButton::clicked, this, [this] { AddFile_TBClick(); });
    connect(DelFile_TB, &QPushButton::clicked, this, [this] { DelFile_TBClick(); });
    connect(Test_TB, &QPushButton::clicked, this, [this] { Test_TBClick(); });
    connect(OK_BitBtn, &QPushButton::clicked, this, [this] { OK_BitBtnClick(); });
    connect(Cancel_BitBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(Help_BitBtn, &QPushButton::clicked, this, [this] {
        if (showHelp_) showHelp_(kHelpAnchor);
    });
}

void THttpSetup_Form::showEvent(QShowEvent* event) {
    ShowRootPath();
    QDialog::showEvent(event);
}

void THttpSetup_Form::ShowRootPath() {
    const QString root = QString::fromStdString(RootPath);
    Root_Label->setText(ShortenPathForDisplay(root, Root_Label->fontMetrics(), kRootLabelWidthPx));
    Root_Label->setToolTip(root);
}

void THttpSetup_Form::ShowIndexFile() {
    IdxHtml_Label->setText(
        ShortenPathForDisplay(QString::fromStdString(IndexFile), IdxHtml_Label->fontMetrics(), kIndexLabelWidthPx));
}

void THttpSetup_Form::SetFileList(const std::vector<std::string>& files) {
    File_ListBox->clear();
    for (const std::string& file : files) File_ListBox->addItem(QString::fromStdString(file));
}

std::vector<std::string> THttpSetup_Form::FileList() const {
    std::vector<std::string> files;
    for (int i = 0; i < File_ListBox->count(); ++i) files.push_back(File_ListBox->item(i)->text().toStdString());
    return files;
}

void THttpSetup_Form::LogPath_SBClick() {
    std::string folder = RootPath;
    if (engine::BrowseForFolder("Select Root-Directory", "", folder, chooser_)) {
        RootPath = folder;
        ShowRootPath();
    }
    if (!RootPath.empty()) RootPath = engine::IncludeTrailingPathDelimiter(RootPath);
}

void THttpSetup_Form::IdxFile_TBClick() {
    if (auto file = chooser_.OpenFile(this, "index.html", engine::ExtractFilePath(IndexFile))) IndexFile = *file;
    ShowIndexFile();
}

void THttpSetup_Form::EditIdx_TBClick() {
    std::error_code ec;
    if (IndexFile.empty() || !fs::is_regular_file(IndexFile, ec)) return;
    htmlForm_.FileName = IndexFile;
    if (!htmlForm_.LoadFile()) {
        ShowError(QStringLiteral("Framewick"), QString::fromStdString(htmlForm_.LastError()));
        return;
    }
    RunModal(htmlForm_);
}

void THttpSetup_Form::AddFile_TBClick() {
    const auto file = chooser_.OpenFile(this, "Add File", std::string());
    if (!file) return;
    const QString text = QString::fromStdString(*file);
    if (!ContainsIgnoringCase(*File_ListBox, text)) File_ListBox->addItem(text);
}

void THttpSetup_Form::DelFile_TBClick() {
    const int row = File_ListBox->currentRow();
    if (row >= 0 && File_ListBox->item(row)->isSelected()) delete File_ListBox->takeItem(row);
}

void THttpSetup_Form::Test_TBClick() {
    // The activation's own line says how it went ("Listening on ..." or the exception text); lines of
    // requests arriving meanwhile come from connection threads and are not taken.
    // Declared before the server, so they outlive every call of its log event.
    std::mutex lineMutex;
    std::string activationLine;
    const std::thread::id dialogThread = std::this_thread::get_id();
    QTemporaryDir emptyRoot;  // the test server serves an empty folder
    {
        engine::TCaptureHttpServer server(0, std::string(), std::make_shared<TTestServerHost>());
        server.Root = emptyRoot.path().toStdString();
        server.SetIpAddr(static_cast<uint32_t>(DottedTextToIpAddr(HttpAddr_Port_Frame->GetIpText())));
        server.SetPort(HttpAddr_Port_Frame->GetPort());
        server.OnLog = [&](const engine::TCaptureHttpServer&, const std::string& text) {
            if (std::this_thread::get_id() != dialogThread) return;
            std::lock_guard lock(lineMutex);
            activationLine = text;
        };
        const bool listening = emptyRoot.isValid() && server.Activate();
        std::string text;
        {
            std::lock_guard lock(lineMutex);
            text = activationLine;
        }
        if (!emptyRoot.isValid()) text = "HTTP Server Exception root in Activate. Error is:\"no temporary folder\".";
        // The box shows while the server listens; it stops when the server goes at the end of the block.
        ShowMsgDlg(listening ? components::mtInformation : components::mtError, QStringLiteral("Framewick"),
                   QString::fromStdString(text), 1, QString(), QString(), QStringLiteral("OK"));
    }
}

void THttpSetup_Form::OK_BitBtnClick() {
    std::error_code ec;
    const bool rootOk = !RootPath.empty() &&
                        (fs::is_directory(RootPath, ec) || (fs::create_directories(RootPath, ec), fs::is_directory(RootPath, ec)));
    if (!rootOk) {
        ShowError(QStringLiteral("Framewick"), QStringLiteral("HTTP Server Root Path does not exists!"));
        return;
    }
    accept();
}

}  // namespace app
