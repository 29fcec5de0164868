// One Framewick application object (its notify catches what escapes a handler) per test program, made
// before the first test and destroyed after the last. Instead of the plain widget application: a
// program includes one of the two.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/startup/FramewickApplication.h"

namespace fw_test {

class FramewickTestApp : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<app::TFramewickApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }
    static app::TFramewickApplication& App() { return *static_cast<app::TFramewickApplication*>(QApplication::instance()); }

private:
    int argc_ = 1;
    char arg0_[16] = "framewick_test";
    char* argv_[2] = {arg0_, nullptr};
    std::unique_ptr<app::TFramewickApplication> app_;
};

inline ::testing::Environment* const kFramewickTestApp = ::testing::AddGlobalTestEnvironment(new FramewickTestApp);

}  // namespace fw_test
