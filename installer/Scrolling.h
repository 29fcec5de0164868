// The captioned panel's scrolling facility: lines of text (or a picture) that move through an area of
// the panel, drawn in a borderless stay-on-top window of their own that follows the panel on the
// screen. The window is made with the panel and stays hidden until scrolling is switched on and the
// first tick builds the content.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <functional>
#include <memory>

#include "components/Color.h"
#include "components/PersistentSettings.h"

class QWidget;

namespace platform {
class TTimer;
}

namespace hollarin {

enum TScrollDir { sdLeftRight, sdRightLeft, sdTopDown, sdBottomUp, sdCustom };
enum TScrollAlign { saLeftTop, saCenterMiddle, saRightBottom };
enum TTextAlign { taLeft, taCenter, taRight };

constexpr int kDefaultScrollIntervalMs = 50;
// The colour that the scroll window leaves transparent.
constexpr components::TColor kScrollTransparentColor = 0xFF00FE;

class TScrollWindow;

class TScrolling : public components::TPersistentSettings {
public:
    // frameWidth: the panel's bevel width plus its border line width, the margin the area keeps.
    TScrolling(QWidget& panel, std::function<int()> frameWidth);
    ~TScrolling();

    const QStringList& scText() const { return text_; }
    void SetScText(const QStringList& lines);
    bool scActivate() const { return activate_; }
    void SetScActivate(bool value);
    int scInterval() const { return intervalMs_; }
    void SetScInterval(int ms);
    int scX() const { return x_; }
    void SetScX(int value);
    int scY() const { return y_; }
    void SetScY(int value);
    TScrollDir scDirection() const { return direction_; }
    // Also sets the step: the moving axis keeps its size (1 when 0) with the direction's sign, the other is 0.
    void SetScDirection(TScrollDir value);
    int scLeft() const { return left_; }
    void SetScLeft(int value);
    int scTop() const { return top_; }
    void SetScTop(int value);
    int scWidth() const { return width_; }
    void SetScWidth(int value);
    int scHeight() const { return height_; }
    void SetScHeight(int value);
    const QImage& scPicture() const { return picture_; }
    void SetScPicture(const QImage& picture);
    TTextAlign scTextAlign() const { return textAlign_; }
    void SetScTextAlign(TTextAlign value);
    const QFont& scFont() const { return font_; }
    void SetScFont(const QFont& font);
    TScrollAlign scScrollAlign() const { return scrollAlign_; }
    void SetScScrollAlign(TScrollAlign value);
    bool scTransparent() const { return transparent_; }
    void SetScTransparent(bool value);
    components::TColor scTransparentColor() const { return transparentColor_; }
    void SetScTransparentColor(components::TColor value);

    // Run-time state.
    bool Built() const { return built_; }
    const QImage& Content() const { return content_; }
    QPoint Offset() const { return offset_; }
    QPoint AlignOffset() const { return alignOffset_; }
    bool TimerRunning() const;
    QWidget* ScrollWindow() const;
    // Where the content is drawn in the scroll window now.
    QPoint DrawPosition() const;

    // The timer's handler: builds when needed, follows the panel and moves the content one step.
    void Tick();

private:
    void Touched();  // a setting changed: rebuild at the next tick
    int ClampLeftTop(int value) const;
    int ClampExtent(int value, int panelExtent) const;
    void Build();
    QImage TextContent() const;
    void PlaceWindow();

    QWidget& panel_;
    std::function<int()> frameWidth_;
    QStringList text_{QStringLiteral("ScrollingText")};
    bool activate_ = false;
    int intervalMs_ = kDefaultScrollIntervalMs;
    int x_ = 1;
    int y_ = 0;
    TScrollDir direction_ = sdLeftRight;
    int left_ = 0;
    int top_ = 0;
    int width_;
    int height_;
    QImage picture_;
    TTextAlign textAlign_ = taLeft;
    QFont font_;
    TScrollAlign scrollAlign_ = saLeftTop;
    bool transparent_ = false;
    components::TColor transparentColor_ = components::clBlack;

    std::unique_ptr<TScrollWindow> window_;
    std::unique_ptr<platform::TTimer> timer_;
    QImage content_;
    QPoint offset_;
    QPoint alignOffset_;
    bool built_ = false;
};

}  // namespace hollarin
