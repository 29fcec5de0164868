// The frame a window manager puts around a top-level window is known only some time after the window
// is shown, and it may come without any move of the client area. A window placed or sized before then
// must be placed again once the frame is there: TFrameWatch tells when the frame changes. It can also
// tell every piece of the X server's news of the window's place, among them the answer of a window
// manager that did not carry out a move (the toolkit may then still believe the window moved).
#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QWidget>
#include <functional>

namespace app {

// The frame's parts beyond the client area; none before a window manager has framed the window.
QMargins FrameMargins(const QWidget& window);

class TFrameWatch : public QObject, public QAbstractNativeEventFilter {
public:
    // A child of window; calls frameChanged while armed whenever the frame differs from the one last seen.
    TFrameWatch(QWidget& window, std::function<void()> frameChanged);
    ~TFrameWatch() override;

    // Takes the present frame as seen and watches from now on.
    void Arm();
    void Disarm() { armed_ = false; }
    // Calls placeNews, once the toolkit has taken it in, for every notification of the window's place,
    // size, frame or properties the X server sends, armed or not.
    void SetPlaceNews(std::function<void()> placeNews) { placeNews_ = std::move(placeNews); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The X server's news of the window's frame (its extents, a new parent, a new place) reaches no
    // widget event when the client area stays where it was: each is looked at once Qt has taken it in.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void Look();

    QWidget& window_;
    std::function<void()> frameChanged_;
    std::function<void()> placeNews_;
    QMargins seen_;
    bool armed_ = false;
};

}  // namespace app
