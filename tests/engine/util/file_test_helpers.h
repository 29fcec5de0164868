// Small fixtures for the folder tests: files with given contents and modification times.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/support/test_env.h"

namespace util_test {

namespace fs = std::filesystem;

// Creates dir/name (and its folders) with the given bytes; secondsAgo sets its modification time.
inline fs::path MakeFile(const fs::path& dir, const std::string& name, const std::string& bytes = "x",
                         int secondsAgo = -1) {
    fs::path p = dir / name;
    fs::create_directories(p.parent_path());
    fw_test::WriteFile(p, bytes);
    if (secondsAgo >= 0) fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo));
    return p;
}

inline std::string Slash(const fs::path& dir) { return dir.string() + "/"; }

}  // namespace util_test
