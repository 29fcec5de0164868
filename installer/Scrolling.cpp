#include "installer/Scrolling.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "platform/ui/ttimer.h"

namespace hollarin {

// The borderless window the content scrolls in; it paints the content at the current position.
class TScrollWindow : public QWidget {
public:
    explicit TScrollWindow(const TScrolling& owner)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool), owner_(owner) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(owner_.DrawPosition(), owner_.Content());
    }

private:
    const TScrolling& owner_;
};

TScrolling::TScrolling(QWidget& panel, std::function<int()> frameWidth)
    : panel_(panel),
      frameWidth_(std::move(frameWidth)),
      width_(panel.width()),
      height_(panel.height()),
      window_(std::make_unique<TScrollWindow>(*this)),
      timer_(std::make_unique<platform::TTimer>()) {
    timer_->SetEnabled(false);
    timer_->SetInterval(uint32_t(intervalMs_));
    timer_->SetOnTimer([this] { Tick(); });
}

TScrolling::~TScrolling() = default;

bool TScrolling::TimerRunning() const { return timer_->Enabled(); }
QWidget* TScrolling::ScrollWindow() const { return window_.get(); }

void TScrolling::Touched() {
    built_ = false;
    Changed();
}

int TScrolling::ClampLeftTop(int value) const { return std::max(value, frameWidth_()); }
int TScrolling::ClampExtent(int value, int panelExtent) const {
    return std::min(value, panelExtent - 2 * frameWidth_());
}

void TScrolling::SetScText(const QStringList& lines) { text_ = lines; Touched(); }
void TScrolling::SetScActivate(bool value) {
    activate_ = value;
    timer_->SetEnabled(value);
    if (!value) {
        window_->hide();
        built_ = false;
    }
    Touched();
}
void TScrolling::SetScInterval(int ms) {
    intervalMs_ = ms;
    timer_->SetInterval(uint32_t(std::max(ms, 0)));
    Touched();
}
void TScrolling::SetScX(int value) { x_ = value; Touched(); }
void TScrolling::SetScY(int value) { y_ = value; Touched(); }
void TScrolling::SetScDirection(TScrollDir value) {
    direction_ = value;
    const auto size = [](int step) { return step == 0 ? 1 : std::abs(step); };
    switch (value) {
    case sdLeftRight: x_ = size(x_); y_ = 0; break;
    case sdRightLeft: x_ = -size(x_); y_ = 0; break;
    case sdTopDown: y_ = size(y_); x_ = 0; break;
    case sdBottomUp: y_ = -size(y_); x_ = 0; break;
    case sdCustom: break;
    }
    Touched();
}
void TScrolling::SetScLeft(int value) { left_ = ClampLeftTop(value); Touched(); }
void TScrolling::SetScTop(int value) { top_ = ClampLeftTop(value); Touched(); }
void TScrolling::SetScWidth(int value) { width_ = ClampExtent(value, panel_.width()); Touched(); }
void TScrolling::SetScHeight(int value) { height_ = ClampExtent(value, panel_.height()); Touched(); }
void TScrolling::SetScPicture(const QImage& picture) { picture_ = picture; Touched(); }
void TScrolling::SetScTextAlign(TTextAlign value) { textAlign_ = value; Touched(); }
void TScrolling::SetScFont(const QFont& font) { font_ = font; Touched(); }
void TScrolling::SetScScrollAlign(TScrollAlign value) { scrollAlign_ = value; Touched(); }
void TScrolling::SetScTransparent(bool value) { transparent_ = value; Touched(); }
void TScrolling::SetScTransparentColor(components::TColor value) { transparentColor_ = value; Touched(); }

QImage TScrolling::TextContent() const {
    const QFontMetrics metrics(font_);
    const QString first = text_.isEmpty() ? QString() : text_.front();
    const int rowHeight = std::max(metrics.boundingRect(first).height(), metrics.height());
    const bool horizontal = direction_ == sdLeftRight || direction_ == sdRightLeft;
    QImage image;
    if (horizontal) {
        QString row;
        for (const QString& line : text_) row += line + QLatin1Char(' ');
        image = QImage(std::max(metrics.horizontalAdvance(row), 1), rowHeight, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setFont(font_);
        painter.drawText(QRect(0, 0, image.width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter, row);
        return image;
    }
    int widest = 1;
    for (const QString& line : text_) widest = std::max(widest, metrics.horizontalAdvance(line));
    image = QImage(widest, std::max(rowHeight * int(text_.size()), 1), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font_);
    const Qt::Alignment align = textAlign_ == taCenter ? Qt::AlignHCenter
                                : textAlign_ == taRight ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    for (int i = 0; i < text_.size(); ++i)
        painter.drawText(QRect(0, i * rowHeight, widest, rowHeight), align | Qt::AlignVCenter, text_[i]);
    return image;
}

void TScrolling::Build() {
    offset_ = QPoint(0, 0);
    if (!picture_.isNull()) {
        content_ = picture_.convertToFormat(QImage::Format_ARGB32);
        if (transparent_) {
            const QRgb key = components::ToQColor(transparentColor_).rgb();
            for (int y = 0; y < content_.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(content_.scanLine(y));
                for (int x = 0; x < content_.width(); ++x)
                    if ((line[x] | 0xFF000000u) == (key | 0xFF000000u)) line[x] = 0;
            }
        }
    } else {
        content_ = TextContent();
    }
    const QPoint room(width_ - content_.width(), height_ - content_.height());
    switch (scrollAlign_) {
    case saLeftTop: alignOffset_ = QPoint(0, 0); break;
    case saCenterMiddle: alignOffset_ = QPoint(room.x() / 2, room.y() / 2); break;
    case saRightBottom: alignOffset_ = room; break;
    }
    switch (direction_) {
    case sdLeftRight: offset_.setX(-content_.width()); break;
    case sdRightLeft: offset_.setX(width_); break;
    case sdTopDown: offset_.setY(-content_.height()); break;
    case sdBottomUp: offset_.setY(height_); break;
    case sdCustom: break;
    }
    built_ = true;
    PlaceWindow();
    window_->show();
}

QPoint TScrolling::DrawPosition() const {
    const bool horizontal = direction_ == sdLeftRight || direction_ == sdRightLeft;
    return horizontal ? QPoint(offset_.x(), offset_.y() + alignOffset_.y())
                      : QPoint(offset_.x() + alignOffset_.x(), offset_.y());
}

void TScrolling::PlaceWindow() {
    const QRect area(left_, top_, std::max(width_, 0), std::max(height_, 0));
    window_->setGeometry(QRect(panel_.mapToGlobal(area.topLeft()), area.size()));
    // Only the part of the area that shows in the panel.
    const QRegion visible = panel_.visibleRegion().intersected(area).translated(-area.topLeft());
    if (!visible.isEmpty()) window_->setMask(visible);
}

void TScrolling::Tick() {
    if (!built_) Build();
    PlaceWindow();
    offset_ += QPoint(x_, y_);
    switch (direction_) {
    case sdLeftRight:
        if (offset_.x() > width_) offset_ = QPoint(-content_.width(), 0);
        break;
    case sdRightLeft:
        if (offset_.x() < -content_.width()) offset_ = QPoint(width_, 0);
        break;
    case sdTopDown:
        if (offset_.y() > height_) offset_ = QPoint(0, -content_.height());
        break;
    case sdBottomUp:
        if (offset_.y() < -content_.height()) offset_ = QPoint(0, height_);
        break;
    case sdCustom: break;
    }
    window_->update();
}

}  // namespace hollarin
