#include "tests/app/program/published_files.h"

#include <sstream>
#include <utility>

#include "tests/support/test_env.h"

namespace fw_test {

namespace fs = std::filesystem;

std::optional<fs::path> NewestFile(const fs::path& folder, const std::string& prefix, const std::string& extension) {
    std::optional<fs::path> newest;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0 || it->path().extension() != extension || it->file_size(error) == 0) continue;
        if (!newest || it->last_write_time(error) > fs::last_write_time(*newest, error)) newest = it->path();
    }
    return newest;
}

std::vector<fs::path> ListedSegments(const fs::path& share) {
    std::vector<fs::path> segments;
    const std::optional<fs::path> playlist = NewestFile(share, "stream", ".m3u8");
    if (!playlist) return segments;
    std::istringstream lines(ReadFile(*playlist));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t slash = line.find_last_of('/');
        segments.push_back(share / (slash == std::string::npos ? line : line.substr(slash + 1)));
    }
    return segments;
}

TSegmentKeeper::TSegmentKeeper(fs::path share, fs::path folder) : share_(std::move(share)), folder_(std::move(folder)) {
    std::error_code error;
    fs::create_directories(folder_, error);
}

std::optional<TSegmentKeeper::TIdentity> TSegmentKeeper::IdentityOf(const fs::path& segment) {
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(segment, error);
    if (error) return std::nullopt;  // deleted by the playlist meanwhile
    return TIdentity{segment.filename().string(), written};
}

void TSegmentKeeper::KeepNew() {
    for (const fs::path& segment : ListedSegments(share_)) {
        const std::optional<TIdentity> identity = IdentityOf(segment);
        if (!identity || !seen_.insert(*identity).second) continue;
        std::error_code error;
        // Numbered, as one name may come again within one watch.
        const fs::path copy = folder_ / (std::to_string(seen_.size()) + "-" + identity->first);
        if (fs::copy_file(segment, copy, fs::copy_options::overwrite_existing, error)) kept_.push_back(copy);
    }
}

void TSegmentKeeper::SkipListed() {
    for (const fs::path& segment : ListedSegments(share_))
        if (const std::optional<TIdentity> identity = IdentityOf(segment)) seen_.insert(*identity);
}

bool TSegmentKeeper::WaitForNew(size_t count, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] {
        size_t fresh = 0;
        for (const fs::path& segment : ListedSegments(share_)) {
            const std::optional<TIdentity> identity = IdentityOf(segment);
            fresh += identity && !seen_.count(*identity);
        }
        return fresh >= count;
    }, timeout);
}

void TSegmentKeeper::KeepUntilNextSegment(std::chrono::milliseconds timeout) {
    const auto newest = [&] {
        const std::vector<fs::path> listed = ListedSegments(share_);
        return listed.empty() ? std::nullopt : IdentityOf(listed.back());
    };
    const std::optional<TIdentity> last = newest();
    WaitUntil([&] { return newest() != last; }, timeout);
    KeepNew();
}

std::vector<fs::path> TSegmentKeeper::TakeKept() { return std::exchange(kept_, {}); }

}  // namespace fw_test
