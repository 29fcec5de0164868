// Free space in whole gigabytes of the drive that holds a folder, as the disk checks compare it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/util/free_space.h"

namespace app {

constexpr uint64_t kBytesPerGigabyte = 1024ull * 1024ull * 1024ull;

// The bytes available to this user on the file system of folder (or, while folder does not exist
// yet, of its nearest existing parent) divided by kBytesPerGigabyte, rounded down; none when the
// query failed.
std::optional<int64_t> FreeGigabytes(engine::IFreeSpaceQuery& query, const std::string& folder);

}  // namespace app
