#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "common/SingleInstance.h"
#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"
#include "tests/support/test_env.h"

using fw_test::PumpUntil;

using namespace std::chrono_literals;

namespace {

struct SingleInstanceTest : ::testing::Test {
    void SetUp() override { TestApp(); }

    // Runs the program block in a second process while this thread's event loop serves the socket.
    std::string RunSecondStart(int* exitCode) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("FRAMEWICK_LOCK_DIR", QString::fromStdString(dir.path().string()));
        child.setProcessEnvironment(env);
        child.start(APP_SECOND_START, {});
        if (!child.waitForStarted(5000)) return "not started";
        if (!PumpUntil([&] { return child.state() == QProcess::NotRunning; }, 20s)) {
            child.kill();
            child.waitForFinished();
            return "hung";
        }
        *exitCode = child.exitCode();
        return child.readAllStandardOutput().trimmed().toStdString();
    }

    fw_test::TempDir dir;
};

TEST_F(SingleInstanceTest, SecondStartFindsTheLockTakenAndBringsTheFirstForward) {
    app::TSingleInstance first(app::kInstanceMutexName, dir.path().string());
    ASSERT_TRUE(first.CreateInstanceMutex()) << first.LastError();
    int shown = 0;
    ASSERT_TRUE(first.ListenForSecondStarts([&] { ++shown; })) << first.LastError();

    int exitCode = -1;
    EXPECT_EQ(RunSecondStart(&exitCode), "none");
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(PumpUntil([&] { return shown == 1; }, 5s));
}

TEST_F(SingleInstanceTest, FirstStillStartingMeansTheSecondEndsQuietly) {
    app::TSingleInstance first(app::kInstanceMutexName, dir.path().string());
    ASSERT_TRUE(first.CreateInstanceMutex());
    int exitCode = -1;
    EXPECT_EQ(RunSecondStart(&exitCode), "none");
    EXPECT_EQ(exitCode, 0);
}

TEST_F(SingleInstanceTest, ReleasedLockLetsTheNextStartRun) {
    {
        app::TSingleInstance first(app::kInstanceMutexName, dir.path().string());
        ASSERT_TRUE(first.CreateInstanceMutex());
        app::TSingleInstance again(app::kInstanceMutexName, dir.path().string());
        EXPECT_FALSE(again.CreateInstanceMutex());
        EXPECT_FALSE(again.ListenForSecondStarts([] {})) << "only the holder may take the socket";
    }
    int exitCode = -1;
    EXPECT_EQ(RunSecondStart(&exitCode), "splash,title Framewick,forms,loop");
    EXPECT_EQ(exitCode, 0);
}

}  // namespace
