// The real message pump and keyboard state that a Hollarin extraction thread uses.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdlib>

#include "installer/zip/qt_message_pump.h"
#include "installer/zip/xcb_keyboard_state.h"
#include "tests/support/test_env.h"

using namespace hollarin;

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
}  // namespace

TEST(ZipHost, QtPumpServesTheThreadsPostedEvents) {
    TQtMessagePump pump;
    pump.Pump();  // no application object yet: nothing to serve, nothing breaks
    int argc = 1;
    char name[] = "zip_host_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TCounter counter;
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    EXPECT_EQ(counter.events, 0);
    pump.Pump();
    EXPECT_EQ(counter.events, 2);
}

TEST(ZipHost, VirtualKeysMapToKeySymbols) {
    struct Case {
        uint16_t key;
        uint32_t sym;
    } cases[] = {{27, 0xff1b}, {13, 0xff0d}, {'A', 'a'}, {'Z', 'z'}, {'7', '7'}, {0x70, 0xffbe}, {0x7B, 0xffc9}, {0xE5, 0}};
    for (const Case& c : cases) EXPECT_EQ(TXcbKeyboardState::KeySymOf(c.key), c.sym) << c.key;
}

TEST(ZipHost, NoKeyIsDownOnAnIdleDisplayOrWithoutOne) {
    if (fw_test::HasDisplay()) {
        TXcbKeyboardState keys;
        EXPECT_FALSE(keys.IsKeyDown(27));
        EXPECT_FALSE(keys.IsKeyDown('Q'));
        EXPECT_FALSE(keys.IsKeyDown(0xE5)) << "a key without a symbol";
    }
    const char* display = std::getenv("DISPLAY");
    std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    TXcbKeyboardState none;
    EXPECT_FALSE(none.IsKeyDown(27));
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}
