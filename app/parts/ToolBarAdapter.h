// The tool bar (TTop_Frame) as the main window sees it: its buttons call the hooks it was made with.
#pragma once

#include <QPointer>

#include "app/mainform/MainFormParts.h"
#include "app/windows/toolbar/TopFrame.h"

namespace app {

class TToolBarAdapter final : public IToolBar {
public:
    explicit TToolBarAdapter(TToolBarHooks hooks);
    ~TToolBarAdapter() override;

    QWidget* Widget() override { return bar_; }
    void InitToolBar() override { bar_->InitToolBar(hooks_); }
    // Tag 1 and the switched-on look while the log window shows.
    void SetLogButtonOn(bool on) override;
    bool LogButtonOn() const override;

    TTop_Frame& Bar() { return *bar_; }

private:
    TToolBarHooks hooks_;
    QPointer<TTop_Frame> bar_;
};

}  // namespace app
