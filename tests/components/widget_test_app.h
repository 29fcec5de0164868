// One QApplication per widget test program, made before the first test and destroyed after the last
// (a static QApplication would go after Qt's own statics at exit). Inline: one application however many
// sources of the program include it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace fw_test {

class WidgetTestApp : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char arg0_[16] = "widget_test";
    char* argv_[2] = {arg0_, nullptr};
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kWidgetTestApp = ::testing::AddGlobalTestEnvironment(new WidgetTestApp);

}  // namespace fw_test
