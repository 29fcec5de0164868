// Framewick's application object. An exception that escapes an event handler, a timer or a slot ends
// in its notify instead of ending the program: it goes to the error handler (the main window's
// ApplicationEvents1Exception), which reports "General error : " + the message, or, while the program
// is closing, ends the process at once.
#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace app {

class TFramewickApplication final : public QApplication {
public:
    // True when it dealt with the message.
    using TErrorHandler = std::function<bool(const std::string& message)>;

    TFramewickApplication(int& argc, char** argv);

    // Who hears of an escaped exception; when there is none, or it did not deal with the message, the
    // message is queued for the log.
    void SetErrorHandler(TErrorHandler handler) { errorHandler_ = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void Report(const std::string& message);

    TErrorHandler errorHandler_;
};

}  // namespace app
