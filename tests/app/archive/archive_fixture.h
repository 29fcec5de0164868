// Archive folders for the prune and guard tests: files with chosen sizes (sparse, so a gigabyte costs
// nothing) and modification times two seconds apart, so "oldest" is always clear.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_env.h"

namespace archive_test {

namespace fs = std::filesystem;

// Creates dir/name with size bytes, last written ageSeconds * 2 seconds before a fixed point.
inline void MakeFile(const fs::path& dir, const std::string& name, uintmax_t size, int age) {
    fs::create_directories(dir);
    const fs::path file = dir / name;
    fw_test::WriteFile(file, "");
    fs::resize_file(file, size);
    const auto base = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(file, base - std::chrono::seconds(2 * age));
}

// snap_<n>.jpg, n = 0 .. count-1, where snap_0 is the oldest.
inline void MakeSnapshots(const fs::path& dir, int count, uintmax_t size = 10) {
    for (int i = 0; i < count; ++i) MakeFile(dir, "snap_" + std::to_string(1000000 + i) + ".jpg", size, count - i);
}

inline std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline size_t CountIn(const fs::path& dir) { return Names(dir).size(); }

}  // namespace archive_test
