#include "app/windows/editors/ShareFilesPage.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <system_error>

#include "app/settings/app_globals.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/base/ModalRunner.h"
#include "app/windows/base/PathEllipsis.h"
#include "app/windows/editors/ShareEditorContext.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "engine/util/path_utils.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr components::TColor kFileListOnColor = 0xF0FBFF;
constexpr components::TColor kIndexPanelOnColor = 0xE2EFE2;
constexpr components::TColor kFileControlsOffColor = 0x808080;

QString Q(const std::string& text) { return QString::fromStdString(text); }

bool FileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

}  // namespace

TShareFilesPage::TShareFilesPage(const TShareEditorContext& context, const engine::PCaptureStreamer& share,
                                 QWidget* parent)
    : QWidget(parent), context_(context), share_(share) {
    auto* layout = new QVBoxLayout(this);
    FilesAct_CB = new QCheckBox(QStringLiteral("Active"), this);
    layout->addWidget(FilesAct_CB);
    auto* indexRow = new QHBoxLayout();
    indexRow->addWidget(new QLabel(QStringLiteral("index.html"), this));
    IdxHtml_Label = new QLabel(this);
    IdxHtml_Label->setObjectName(QStringLiteral("IdxHtml_Label"));
    IdxHtml_Label->setAutoFillBackground(true);
    IdxHtml_Label->setMinimumWidth(kIndexLabelWidthPx);  // its text is shortened to this width
    IdxFile_TB = MakeToolButton(this, "IdxFile_TB", QStringLiteral("..."), QStringLiteral("index.html"));
    EditIdx_TB = MakeToolButton(this, "EditIdx_TB", QStringLiteral("Edit"), QStringLiteral("Edit Index-HTML"));
    DefIdx_TB = MakeToolButton(this, "DefIdx_TB", QStringLiteral("Def"), QStringLiteral("Get Default Index-HTML"));
    indexRow->addWidget(IdxHtml_Label, 1);
    for (QToolButton* button : {IdxFile_TB, EditIdx_TB, DefIdx_TB}) indexRow->addWidget(button);
    layout->addLayout(indexRow);
    File_ListBox = new QListWidget(this);
    File_ListBox->setObjectName(QStringLiteral("File_ListBox"));
    layout->addWidget(File_ListBox);
    auto* fileButtons = new QHBoxLayout();
    AddFile_TB = MakeToolButton(this, "AddFile_TB", QStringLiteral("+"), QStringLiteral("Add File"));
    DelFile_TB = MakeToolButton(this, "DelFile_TB", QStringLiteral("-"), QStringLiteral("Delete File"));
    fileButtons->addWidget(AddFile_TB);
    fileButtons->addWidget(DelFile_TB);
    fileButtons->addStretch();
    layout->addLayout(fileButtons);

    connect(FilesAct_CB, &QCheckBox::toggled, this, [this](bool on) { EnableFileControls(on); });
    connect(IdxFile_TB, &QToolButton::clicked, this, [this] { IdxFile_TBClick(); });
    connect(EditIdx_TB, &QToolButton::clicked, this, [this] { EditIdx_TBClick(); });
    connect(DefIdx_TB, &QToolButton::clicked, this, [this] { DefIdx_TBClick(); });
    connect(AddFile_TB, &QToolButton::clicked, this, [this] { AddFile_TBClick(); });
    connect(DelFile_TB, &QToolButton::clicked, this, [this] { DelFile_TBClick(); });
}

void TShareFilesPage::LoadFromShare() {
    const engine::TCaptureStreamer& share = *share_;
    shareIndexFile_ = FileExists(share.IndexHtml) ? share.IndexHtml : std::string();
    ShowIndexFile();
    File_ListBox->clear();
    for (const std::string& file : share.FileList)
        if (FileExists(file)) File_ListBox->addItem(Q(file));
    FilesAct_CB->setChecked(share.UseFileList);
    EnableFileControls(share.UseFileList);
}

void TShareFilesPage::StoreTo(engine::TCaptureStreamer& share) const {
    if (FileExists(shareIndexFile_)) share.IndexHtml = shareIndexFile_;
    share.FileList.clear();
    for (int i = 0; i < File_ListBox->count(); ++i) {
        const std::string file = File_ListBox->item(i)->text().toStdString();
        if (FileExists(file)) share.FileList.push_back(file);
    }
    share.UseFileList = FilesAct_CB->isChecked();
}

void TShareFilesPage::ShowIndexFile() {
    IdxHtml_Label->setText(ShortenPathForDisplay(Q(shareIndexFile_), IdxHtml_Label->fontMetrics(), kIndexLabelWidthPx));
}

void TShareFilesPage::EnableFileControls(bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{IdxFile_TB, EditIdx_TB, AddFile_TB, DelFile_TB, File_ListBox})
        control->setEnabled(on);
    SetFieldColor(*File_ListBox, on ? kFileListOnColor : kFileControlsOffColor);
    QPalette palette = IdxHtml_Label->palette();
    const components::TColor panel = on ? kIndexPanelOnColor : kFileControlsOffColor;
    palette.setColor(QPalette::Window, QColor(panel & 0xFF, (panel >> 8) & 0xFF, (panel >> 16) & 0xFF));
    IdxHtml_Label->setPalette(palette);
}

std::string TShareFilesPage::CopyIntoHtmlDir(const std::string& file, const std::string& name) const {
    if (!share_ || share_->HtmlDir.empty()) return {};
    const std::string target = engine::IncludeTrailingPathDelimiter(share_->HtmlDir) + name;
    std::error_code error;
    fs::create_directories(share_->HtmlDir, error);
    if (fs::equivalent(file, target, error)) return target;
    if (!fs::copy_file(file, target, fs::copy_options::overwrite_existing, error)) return {};
    return target;
}

void TShareFilesPage::IdxFile_TBClick() {
    if (!context_.FileChooser || !share_) return;
    if (const std::optional<std::string> chosen =
            context_.FileChooser->OpenFile(window(), "index.html", share_->HtmlDir)) {
        shareIndexFile_ = engine::IncludeTrailingPathDelimiter(share_->HtmlDir) + "index.html";
        CopyIntoHtmlDir(*chosen, "index.html");
    }
    ShowIndexFile();
}

void TShareFilesPage::EditIdx_TBClick() {
    if (!FileExists(shareIndexFile_) || !context_.HtmlForm) return;
    context_.HtmlForm->FileName = shareIndexFile_;
    if (context_.HtmlForm->LoadFile()) RunModal(*context_.HtmlForm);
}

void TShareFilesPage::DefIdx_TBClick() {
    const std::string templateFile = IndexPage()->IndexHtmlFile;
    if (!FileExists(templateFile) || !share_) return;
    shareIndexFile_ = engine::IncludeTrailingPathDelimiter(share_->HtmlDir) + "index.html";
    CopyIntoHtmlDir(templateFile, "index.html");
    ShowIndexFile();
}

void TShareFilesPage::AddFile_TBClick() {
    if (!context_.FileChooser || !share_) return;
    const std::optional<std::string> chosen = context_.FileChooser->OpenFile(window(), "Add File", share_->HtmlDir);
    if (!chosen || !File_ListBox->findItems(Q(*chosen), Qt::MatchExactly).isEmpty()) return;
    const std::string copy = CopyIntoHtmlDir(*chosen, engine::ExtractFileName(*chosen));
    if (!copy.empty() && File_ListBox->findItems(Q(copy), Qt::MatchExactly).isEmpty()) File_ListBox->addItem(Q(copy));
}

void TShareFilesPage::DelFile_TBClick() { delete File_ListBox->takeItem(File_ListBox->currentRow()); }

}  // namespace app
