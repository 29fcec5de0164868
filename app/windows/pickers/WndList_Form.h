// The window picker: every visible top-level window with its id, class name and caption; the capture
// editor takes the class name and caption of the chosen row.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/display.h"

namespace app {

struct TWndListEntry {
    std::string ClassName;
    std::string Caption;
    platform::WindowId Handle = platform::kNoWindow;
};

// The visible top-level windows of display in its enumeration order, this program's own included, with
// their texts as the display gives them (at most kMaxWindowTextChars characters each).
std::vector<TWndListEntry> CollectVisibleWindows(platform::IDisplay& display);
// "0x" + the id in upper-case hexadecimal with at least four digits.
QString WindowHandleText(platform::WindowId handle);

class TWndList_Form : public QDialog {
public:
    explicit TWndList_Form(QWidget* parent = nullptr);

    // Lists the windows afresh (also at every showing and by the Refresh button).
    void Refresh();
    // Class name and caption of the focused row; two empty texts when no row is focused.
    void GetSelected(std::string& className, std::string& caption) const;
    const std::vector<TWndListEntry>& WndList() const { return wndList_; }

    QTreeWidget* Wnd_VST;
    QToolButton* Refresh_TB;
    QPushButton* OK_Btn;
    QPushButton* Cancel_Btn;
    QPushButton* Help_Btn;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    std::vector<TWndListEntry> wndList_;
};

}  // namespace app
