// A notification area that records what the tray icon does with it; the record outlives the fake, so
// a test can read it after the component is gone.
#pragma once

#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "components/AppTaskbar.h"
#include "components/TrayArea.h"

namespace fw_test {

using components::TAppTaskbar;
using components::TIconImage;
using components::TTrayArea;

struct TrayCall {
    enum Kind { kAdd, kModify, kDelete, kPopup } kind;
    TIconImage icon;
    QString tip;
    QMenu* menu = nullptr;
    QPoint pos;
};

struct TrayRecord {
    std::vector<TrayCall> calls;
    TTrayArea::MessageHandler handler;
    QPoint cursor{700, 1050};
    QRect iconGeometry;  // where the fake desktop drew the icon

    int Count(TrayCall::Kind kind) const {
        int n = 0;
        for (const TrayCall& c : calls) n += c.kind == kind;
        return n;
    }
    // The icons of the adds and changes, in order.
    std::vector<TIconImage> ShownIcons() const {
        std::vector<TIconImage> icons;
        for (const TrayCall& c : calls)
            if (c.kind == TrayCall::kAdd || c.kind == TrayCall::kModify) icons.push_back(c.icon);
        return icons;
    }
    void Send(uint32_t mouseMessage) const {
        if (handler) handler(mouseMessage);
    }
};

class FakeTrayArea : public TTrayArea {
public:
    explicit FakeTrayArea(std::shared_ptr<TrayRecord> record) : record_(std::move(record)) {}

    bool Add(const TIconImage& icon, const QString& tip) override {
        record_->calls.push_back({TrayCall::kAdd, icon, tip, nullptr, {}});
        return true;
    }
    bool Modify(const TIconImage& icon, const QString& tip) override {
        record_->calls.push_back({TrayCall::kModify, icon, tip, nullptr, {}});
        return true;
    }
    void Delete() override { record_->calls.push_back({TrayCall::kDelete, {}, {}, nullptr, {}}); }
    QRect IconGeometry() const override { return record_->iconGeometry; }
    QPoint CursorPos() const override { return record_->cursor; }
    void PopupMenu(QMenu* menu, QPoint pos) override {
        record_->calls.push_back({TrayCall::kPopup, {}, {}, menu, pos});
    }
    void SetMessageHandler(MessageHandler handler) override { record_->handler = std::move(handler); }

private:
    std::shared_ptr<TrayRecord> record_;
};

struct TaskbarRecord {
    bool showMainForm = true;
    bool taskbarButton = true;
};

class FakeAppTaskbar : public TAppTaskbar {
public:
    explicit FakeAppTaskbar(std::shared_ptr<TaskbarRecord> record) : record_(std::move(record)) {}
    void SetShowMainForm(bool show) override { record_->showMainForm = show; }
    void SetTaskbarButton(bool shown) override { record_->taskbarButton = shown; }

private:
    std::shared_ptr<TaskbarRecord> record_;
};

}  // namespace fw_test
