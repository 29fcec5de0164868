// The "Files" tab of the share editor's web-server part: the share's own index.html (chosen, edited or
// the program's default) and the extra files it publishes, all copied into the share's page folder.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QWidget>
#include <string>

#include "engine/capture/settings/CaptureStreamer.h"

namespace app {

struct TShareEditorContext;

constexpr int kIndexLabelWidthPx = 400;

class TShareFilesPage : public QWidget {
public:
    // context and share (the share being edited, held by the editor) outlive the page.
    TShareFilesPage(const TShareEditorContext& context, const engine::PCaptureStreamer& share, QWidget* parent = nullptr);

    // The share's index.html and files as far as they exist.
    void LoadFromShare();
    void StoreTo(engine::TCaptureStreamer& share) const;
    void EnableFileControls(bool on);

    void IdxFile_TBClick();
    void EditIdx_TBClick();
    void DefIdx_TBClick();
    void AddFile_TBClick();
    void DelFile_TBClick();

    QCheckBox* FilesAct_CB;
    QLabel* IdxHtml_Label;
    QToolButton* IdxFile_TB;
    QToolButton* EditIdx_TB;
    QToolButton* DefIdx_TB;
    QListWidget* File_ListBox;
    QToolButton* AddFile_TB;
    QToolButton* DelFile_TB;

private:
    void ShowIndexFile();
    // Copies file to the share's page folder as name; the copy's path, "" when it failed.
    std::string CopyIntoHtmlDir(const std::string& file, const std::string& name) const;

    const TShareEditorContext& context_;
    const engine::PCaptureStreamer& share_;
    std::string shareIndexFile_;
};

}  // namespace app
