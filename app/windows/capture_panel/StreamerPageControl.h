// The capture panel's strip of share tabs: a tab widget whose tabs are painted on the panel's dark
// ground with a light bottom line, each with room at its left end for the share's lamp, which the
// strip places there (the lamp of the share at the same position in the capture's share list).
#pragma once

#include <QTabBar>
#include <QTabWidget>
#include <functional>

namespace app {

constexpr int kStreamerTabWidth = 80;
constexpr int kStreamerTabHeight = 20;
constexpr int kStreamerTabTextLeft = 23;
constexpr int kStreamerTabLedLeft = 7;
constexpr int kStreamerTabLedTop = 6;

class TStreamerTabBar : public QTabBar {
public:
    // The lamp that belongs at tab index, or nullptr.
    using TLedForTab = std::function<QWidget*(int tabIndex)>;

    explicit TStreamerTabBar(QWidget* parent = nullptr);
    void SetLedForTab(TLedForTab ledForTab) { ledForTab_ = std::move(ledForTab); }
    // Gives each share's lamp the strip as parent and moves it to the left end of its tab.
    void PlaceLeds();

    // Keyboard focus goes elsewhere on a press, so the strip never keeps it.
    std::function<void()> OnMouseDown;

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void tabLayoutChange() override;

private:
    TLedForTab ledForTab_;
};

class TStreamerPageControl : public QTabWidget {
public:
    explicit TStreamerPageControl(QWidget* parent = nullptr);
    TStreamerTabBar& StreamerTabBar() { return *tabBar_; }

private:
    TStreamerTabBar* tabBar_;
};

}  // namespace app
