#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QProcess>
#include <chrono>
#include <filesystem>

#include "platform/process/ActivationProtocol.h"
#include "platform/process/ActivationRequest.h"
#include "platform/process/ActivationServer.h"
#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"
#include "tests/support/test_env.h"

using fw_test::PumpFor;
using fw_test::PumpUntil;

using namespace std::chrono_literals;

namespace {

constexpr char kName[] = "Global\\Tarrowin_test_instance_";

struct ActivationTest : ::testing::Test {
    void SetUp() override { TestApp(); }
    fw_test::TempDir dir;
    std::string serverName = platform::ActivationServerName(kName, dir.path().string());
    int activations = 0;
    platform::TActivationServer server{[this] { ++activations; }};
};

// Runs the helper program's activation request while this thread's event loop serves the socket.
int RunSecondStart(const std::string& serverName) {
    QProcess child;
    child.start(PROCESS_TEST_CHILD, {"activate", QString::fromStdString(serverName)});
    if (!child.waitForStarted(5000)) return -1;
    if (!PumpUntil([&] { return child.state() == QProcess::NotRunning; }, 10s)) {
        child.kill();
        child.waitForFinished();
        return -2;
    }
    return child.exitCode();
}

TEST_F(ActivationTest, SocketLiesBesideTheLockFile) {
    EXPECT_EQ(serverName, (dir.path() / "Global_Tarrowin_test_instance_.sock").string());
}

TEST_F(ActivationTest, SecondProcessBringsTheFirstForward) {
    std::string error;
    ASSERT_TRUE(server.Listen(serverName, &error)) << error;
    EXPECT_EQ(RunSecondStart(serverName), 0);
    EXPECT_TRUE(PumpUntil([&] { return activations == 1; }, 5s));
    EXPECT_EQ(RunSecondStart(serverName), 0);
    EXPECT_TRUE(PumpUntil([&] { return activations == 2; }, 5s));
}

TEST_F(ActivationTest, NobodyListeningAnswersFalseAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::RequestActivation(serverName));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(ActivationTest, SocketFileOfACrashedInstanceDoesNotBlockListening) {
    fw_test::WriteFile(serverName, "");
    std::string error;
    ASSERT_TRUE(server.Listen(serverName, &error)) << error;
    EXPECT_TRUE(server.Listening());
}

TEST_F(ActivationTest, OtherTextIsDroppedWithoutActivation) {
    ASSERT_TRUE(server.Listen(serverName));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"wrong line", "show me\n"},
        {"too long", QByteArray(platform::kMaxActivationRequestBytes + 10, 'a')},
    };
    for (const Case& c : cases) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(serverName));
        ASSERT_TRUE(socket.waitForConnected(2000)) << c.name;
        socket.write(c.bytes);
        socket.flush();
        EXPECT_TRUE(PumpUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 5s)) << c.name;
        EXPECT_EQ(socket.readAll(), QByteArray()) << c.name;
    }
    PumpFor(50ms);
    EXPECT_EQ(activations, 0);
}

TEST_F(ActivationTest, SilentClientIsDroppedAfterTheReadTimeout) {
    ASSERT_TRUE(server.Listen(serverName));
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(serverName));
    ASSERT_TRUE(socket.waitForConnected(2000));
    EXPECT_TRUE(PumpUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; },
                          std::chrono::milliseconds(platform::kActivationReadTimeoutMs) + 3s));
}

}  // namespace
