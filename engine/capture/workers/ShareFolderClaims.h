// Who may delete a share folder. Every worker thread claims its share folder when it is created, and a
// job that starts a share may claim the folder before it prepares it; only the newest claim of a folder
// may delete it. So a snapshot thread that ends after its job was started again leaves the new run's
// folder (its playlist and segments included) alone. Thread-safe.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

using TFolderClaim = uint64_t;

// A claim newer than every earlier claim of folder.
TFolderClaim ClaimShareFolder(const std::string& folder);

// True when claim is still the newest claim of folder.
bool IsNewestFolderClaim(const std::string& folder, TFolderClaim claim);

// Deletes folder with everything in it when claim is still its newest claim. No claim can be taken
// while the delete runs, so a new run never sees its fresh folder go. False when nothing was deleted.
bool DeleteFolderIfNewestClaim(const std::string& folder, TFolderClaim claim);

}  // namespace engine
