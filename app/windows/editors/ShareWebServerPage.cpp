#include "app/windows/editors/ShareWebServerPage.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <string>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/windows/base/EditorControls.h"
#include "app/windows/base/PathEllipsis.h"
#include "app/windows/editors/ShareEditRules.h"
#include "app/windows/editors/ShareEditorContext.h"
#include "engine/settings/name_routines.h"
#include "engine/util/system_info.h"

namespace app {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

TShareWebServerPage::TShareWebServerPage(const TShareEditorContext& context, const engine::PCaptureStreamer& share,
                                 QWidget* parent)
    : QWidget(parent), context_(context), share_(share) {
    auto* layout = new QFormLayout(this);
    auto* serverRow = new QHBoxLayout();
    WebServer_ComboBox = MakeNamedCombo(this, "WebServer_ComboBox");
    WebServer_ComboBox->setEditable(false);
    WebServer_ComboBox->installEventFilter(this);  // takes no typed keys
    // As wide as a full entry, whatever the list holds, so the dialog keeps its width.
    WebServer_ComboBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    WebServer_ComboBox->setMinimumContentsLength(kWebServerChoiceChars);
    WebAdd_TB = MakeToolButton(this, "WebAdd_TB", QStringLiteral("+"), QStringLiteral("Add Web-Server"));
    WebEdit_TB = MakeToolButton(this, "WebEdit_TB", QStringLiteral("..."), QStringLiteral("Edit Web-Server"));
    serverRow->addWidget(WebServer_ComboBox, 1);
    serverRow->addWidget(WebAdd_TB);
    serverRow->addWidget(WebEdit_TB);
    layout->addRow(QStringLiteral("Web-Server"), serverRow);
    auto* dirRow = new QHBoxLayout();
    LocalDir_Edit = MakeNamedEdit(this, "LocalDir_Edit");
    GetCompName_TB = MakeToolButton(this, "GetCompName_TB", QStringLiteral("PC"), QStringLiteral("Add Computer Name"));
    dirRow->addWidget(LocalDir_Edit, 1);
    dirRow->addWidget(GetCompName_TB);
    layout->addRow(QStringLiteral("Sub-Directory"), dirRow);
    Root_Label = new QLabel(this);
    Root_Label->setObjectName(QStringLiteral("Root_Label"));
    Root_Label->setMinimumWidth(kRootLabelWidthPx);  // its text is shortened to this width
    layout->addRow(QStringLiteral("Root-Path"), Root_Label);

    connect(WebServer_ComboBox, &QComboBox::currentIndexChanged, this, [this] {
        WebServer_ComboBox->setToolTip(WebServer_ComboBox->currentText());
        ShowRoot(SelectedServer().get());
    });
    connect(WebAdd_TB, &QToolButton::clicked, this, [this] { WebAdd_TBClick(); });
    connect(WebEdit_TB, &QToolButton::clicked, this, [this] { WebEdit_TBClick(); });
    connect(GetCompName_TB, &QToolButton::clicked, this, [this] {
        LocalDir_Edit->setText(Q(engine::SanitizeName(engine::GetLocalComputerName())).toLower());
    });
}

void TShareWebServerPage::LoadFromShare() {
    FillWebServerList(*share_);  // a share without a web server gets the first
    LocalDir_Edit->setText(Q(share_->SubDir));
}

void TShareWebServerPage::StoreTo(engine::TCaptureStreamer& share) const {
    share.HttpServer = SelectedServer();
    share.SubDir = S(LocalDir_Edit->text());
}

void TShareWebServerPage::FillWebServerList(engine::TCaptureStreamer& share) {
    Root_Label->clear();
    Root_Label->setToolTip(QString());
    const QSignalBlocker blocker(WebServer_ComboBox);
    WebServer_ComboBox->clear();
    if (!context_.HttpServers) return;
    const auto& servers = context_.HttpServers->Items();
    int selected = -1;
    for (size_t i = 0; i < servers.size(); ++i) {
        WebServer_ComboBox->addItem(Q(WebServerChoiceText(*servers[i], static_cast<int>(i))));
        if (selected < 0 && share.HttpServer && share.HttpServer.get() == servers[i].get()) selected = static_cast<int>(i);
    }
    if (selected < 0 && !servers.empty()) {
        share.HttpServer = servers.front();
        selected = 0;
    }
    WebServer_ComboBox->setCurrentIndex(selected);
    WebServer_ComboBox->setToolTip(WebServer_ComboBox->currentText());
    ShowRoot(SelectedServer().get());
}

std::shared_ptr<THttpServerEntry> TShareWebServerPage::SelectedServer() const {
    const int index = WebServer_ComboBox->currentIndex();
    if (!context_.HttpServers || index < 0 || index >= static_cast<int>(context_.HttpServers->Count())) return nullptr;
    return context_.HttpServers->Items()[static_cast<size_t>(index)];
}

void TShareWebServerPage::ShowRoot(const THttpServerEntry* entry) {
    const QString root = entry ? Q(entry->Root()) : QString();
    Root_Label->setText(ShortenPathForDisplay(root, Root_Label->fontMetrics(), kRootLabelWidthPx));
    Root_Label->setToolTip(root);
}

// The choice is made with the mouse: typed keys would pick a server by its first letter or step through
// the list. The keys that move the focus, cancel or press the default button pass as in every field.
bool TShareWebServerPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == WebServer_ComboBox && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                break;
            default:
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TShareWebServerPage::WebAdd_TBClick() {
    if (!share_) return;
    if (context_.AddHttpServer) context_.AddHttpServer();
    FillWebServerList(*share_);
    if (context_.SaveHttpServerList) context_.SaveHttpServerList();
}

void TShareWebServerPage::WebEdit_TBClick() {
    const std::shared_ptr<THttpServerEntry> server = SelectedServer();
    if (!server || !share_) return;  // nothing to edit in an empty list
    if (context_.CaptureList &&
        !context_.CaptureList->IsShareFolderFree(share_.get(), server.get(), S(LocalDir_Edit->text())))
        return;
    if (context_.EditHttpServer) context_.EditHttpServer(*server);
    const int index = WebServer_ComboBox->currentIndex();
    WebServer_ComboBox->setItemText(index, Q(WebServerChoiceText(*server, index)));
    WebServer_ComboBox->setCurrentIndex(index);
    ShowRoot(server.get());
    if (context_.SaveHttpServerList) context_.SaveHttpServerList();
}

}  // namespace app
