#include "app/mainform/WorkAreaFit.h"

#include <optional>

#include "app/mainform/ScreenSnap.h"
#include "components/X11Window.h"
#include "engine/util/monitors.h"
#include "platform/display/display.h"

namespace app {
namespace {

platform::TRect ToRect(const QRect& r) { return platform::MakeRect(r.x(), r.y(), r.width(), r.height()); }

// The work area of the monitor that holds the centre of outer, or of the monitor nearest to it.
std::optional<platform::TRect> WorkAreaAt(const QRect& outer) {
    const QPoint centre = outer.center();
    return engine::GetNearestMonitorWorkArea({centre.x(), centre.y()});
}

}  // namespace

TWorkAreaFit::TWorkAreaFit(QWidget& window, std::function<bool()> active, std::function<int()> leastHeight)
    : window_(window),
      active_(std::move(active)),
      leastHeight_(std::move(leastHeight)),
      frameWatch_(new TFrameWatch(window, [this] { Fit(wanted_); })) {
    frameWatch_->SetPlaceNews([this] { FitBelowTop(); });
}

// A window on the screen of an X server stands where the server has it: a window manager may have
// refused a move the toolkit believes done. A hidden one is mapped where the toolkit keeps it.
QRect TWorkAreaFit::Outer(int clientHeight) const {
    const QMargins frame = FrameMargins(window_);
    QPoint topLeft = window_.geometry().topLeft() - QPoint(frame.left(), frame.top());
    const std::optional<components::TX11Window> x11 =
        window_.isVisible() && !window_.isMinimized() ? components::X11WindowOf(window_) : std::nullopt;
    if (x11) {
        const std::optional<platform::TRect> server = platform::CurrentDisplay()->GetWindowRect(x11->Window);
        if (server) topLeft = QPoint(server->Left, server->Top);
    }
    return QRect(topLeft, QSize(window_.width(), clientHeight).grownBy(frame));
}

void TWorkAreaFit::Fit(int wantedHeight) {
    wanted_ = wantedHeight;
    if (wanted_ == 0 || !active_()) return;
    frameWatch_->Arm();
    const QRect outer = Outer(wanted_);
    const std::optional<platform::TRect> area = WorkAreaAt(outer);
    if (!area) {
        window_.setFixedHeight(wanted_);
        return;
    }
    const platform::TRect placed = FitIntoArea(ToRect(outer), *area);
    const QMargins frame = FrameMargins(window_);
    // The move goes first: a window manager carrying it out never sees the window reach past the area.
    if (placed.Left != outer.left() || placed.Top != outer.top())
        window_.setGeometry(QRect(QPoint(placed.Left + frame.left(), placed.Top + frame.top()), window_.size()));
    window_.setFixedHeight(placed.Height() - frame.top() - frame.bottom());
}

void TWorkAreaFit::FitBelowTop() {
    if (wanted_ == 0 || !active_()) return;
    const QRect outer = Outer(wanted_);
    const std::optional<platform::TRect> area = WorkAreaAt(outer);
    if (!area) return;
    const int frameHeight = outer.height() - wanted_;
    const int height = HeightToFit(outer.top(), outer.height(), leastHeight_() + frameHeight, *area) - frameHeight;
    if (height != window_.height()) window_.setFixedHeight(height);
}

}  // namespace app
