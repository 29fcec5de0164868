// Gives each test its own empty HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE folders.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/test_env.h"

class FreshRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.emplace();
        userFolder = dir_->path() / "hkcu";
        machineFolder = dir_->path() / "hklm";
        ::setenv("FRAMEWICK_REGISTRY_HKCU", userFolder.c_str(), 1);
        ::setenv("FRAMEWICK_REGISTRY_HKLM", machineFolder.c_str(), 1);
    }
    void TearDown() override { dir_.reset(); }

    std::filesystem::path UserHive() const { return userFolder / "user.reg"; }
    std::filesystem::path MachineHive() const { return machineFolder / "machine.reg"; }

    std::filesystem::path userFolder, machineFolder;

private:
    std::optional<fw_test::TempDir> dir_;
};
