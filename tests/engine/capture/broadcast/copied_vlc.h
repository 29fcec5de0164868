// A private copy of the installed libVLC in a LIB_VLC folder of its own, as the program makes one at
// start-up. A test suite makes it once; libVLC stays loaded to the end, so its own leftovers are
// reported under its name.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/vlc/InstalledVlc.h"
#include "tests/support/test_env.h"

namespace fw_test {

class TCopiedVlc {
public:
    // A failure is reported to the running suite.
    void Make() {
        const auto installed = engine::FindInstalledVlc();
        ASSERT_TRUE(installed) << "libvlc5 and vlc-plugin-base must be installed";
        dir_ = std::make_unique<TempDir>();
        ASSERT_TRUE(engine::CopyInstalledVlc(*installed, LibDir()));
    }
    void Remove() { dir_.reset(); }
    // The folder with its trailing '/', as the program names it.
    std::string LibDir() const { return (dir_->path() / "LIB_VLC").string() + "/"; }

private:
    std::unique_ptr<TempDir> dir_;
};

}  // namespace fw_test
