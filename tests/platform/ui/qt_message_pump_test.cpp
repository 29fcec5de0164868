// The Qt message pump that a long routine on the user-interface thread calls.
#include "platform/ui/qt_message_pump.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace {
class TCounter final : public QObject {
public:
    int events = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++events;
            return true;
        }
        return QObject::event(e);
    }
};

TEST(QtMessagePump, ServesTheThreadsPostedEvents) {
    platform::TQtMessagePump pump;
    pump.Pump();  // no application object yet: nothing to serve, nothing breaks
    int argc = 1;
    char name[] = "qt_message_pump_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TCounter counter;
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    EXPECT_EQ(counter.events, 0);
    pump.Pump();
    EXPECT_EQ(counter.events, 2);
}

}  // namespace
