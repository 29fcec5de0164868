// The "Config" tab of the share editor's web-server part: the web server that publishes the share
// (with the settings dialog's functions that add and edit one), the share's sub-folder below its
// root, and the root shown.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

struct TShareEditorContext;
class THttpServerEntry;

constexpr int kRootLabelWidthPx = 445;
constexpr int kWebServerChoiceChars = 48;  // "[00] - EXT - 255.255.255.255:65535 (" + a short name + ")"

class TShareWebServerPage : public QWidget {
public:
    // context and share (the share being edited, held by the editor) outlive the page.
    TShareWebServerPage(const TShareEditorContext& context, const engine::PCaptureStreamer& share, QWidget* parent = nullptr);

    void LoadFromShare();
    void StoreTo(engine::TCaptureStreamer& share) const;
    // Offers the program's web servers with the share's chosen; a share without one gets the first.
    void FillWebServerList(engine::TCaptureStreamer& share);
    std::shared_ptr<THttpServerEntry> SelectedServer() const;

    void WebAdd_TBClick();
    void WebEdit_TBClick();

    QComboBox* WebServer_ComboBox;
    QToolButton* WebAdd_TB;
    QToolButton* WebEdit_TB;
    QLineEdit* LocalDir_Edit;
    QToolButton* GetCompName_TB;
    QLabel* Root_Label;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowRoot(const THttpServerEntry* entry);

    const TShareEditorContext& context_;
    const engine::PCaptureStreamer& share_;
};

}  // namespace app
