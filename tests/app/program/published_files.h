// What a share folder of a running Framewick holds: its newest file of a kind, the segments its HLS
// playlist lists, and copies of them kept as they appear.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fw_test {

// The newest non-empty file of folder whose name starts with prefix and ends with extension.
std::optional<std::filesystem::path> NewestFile(const std::filesystem::path& folder, const std::string& prefix,
                                                const std::string& extension);
// The segment files the share's playlist lists, oldest first (each listed one is complete).
std::vector<std::filesystem::path> ListedSegments(const std::filesystem::path& share);

// Keeps a copy of each segment the share's playlist lists, as it appears (the playlist deletes the
// old ones soon), so that all of them can be looked at afterwards. A segment is known by its name and
// the time it was written: a capture that starts again numbers its segments from the start again.
class TSegmentKeeper {
public:
    TSegmentKeeper(std::filesystem::path share, std::filesystem::path folder);
    // Copies the segments listed now that were not seen yet.
    void KeepNew();
    // Takes the segments listed now as seen, without keeping them.
    void SkipListed();
    // Waits until the playlist lists count segments not seen yet (neither keeping nor skipping them).
    bool WaitForNew(size_t count, std::chrono::milliseconds timeout) const;
    // Waits until the playlist lists a segment after the newest one listed now, then keeps it and
    // any other new one: the segment holding the last moments of what was watched.
    void KeepUntilNextSegment(std::chrono::milliseconds timeout);
    // The copies kept so far, oldest first; none of them again.
    std::vector<std::filesystem::path> TakeKept();

private:
    std::filesystem::path share_;
    std::filesystem::path folder_;
    using TIdentity = std::pair<std::string, std::filesystem::file_time_type>;
    static std::optional<TIdentity> IdentityOf(const std::filesystem::path& segment);

    std::set<TIdentity> seen_;
    std::vector<std::filesystem::path> kept_;
};

}  // namespace fw_test
