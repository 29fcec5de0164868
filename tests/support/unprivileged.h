// Tests of what file and folder modes forbid. Root ignores the modes, so such a test runs its body in a
// forked child that has given up root for nobody's ids; a test run by an ordinary user needs no change
// of ids and runs the body in the child as it is.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace fw_test {

inline constexpr uid_t kNobodyUid = 65534;
inline constexpr gid_t kNobodyGid = 65534;

// The ids an unprivileged child runs under: nobody's when this process is root, else its own.
uid_t UnprivilegedUid();
gid_t UnprivilegedGid();

// Runs body in a forked child under UnprivilegedUid(); its answer is what body returns. None when the
// child could not give up root or did not end normally (body must not throw).
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body);

// A fresh folder below /tmp that the unprivileged child (or the owner named) owns, removed (modes
// restored) when the object goes.
class UnprivilegedTempDir {
public:
    explicit UnprivilegedTempDir(uid_t owner = UnprivilegedUid(), gid_t group = UnprivilegedGid());
    ~UnprivilegedTempDir();
    UnprivilegedTempDir(const UnprivilegedTempDir&) = delete;
    UnprivilegedTempDir& operator=(const UnprivilegedTempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Gives path (a file or folder made by this process) to the folder's owner.
    void GiveAway(const std::filesystem::path& path) const;

private:
    std::filesystem::path path_;
    uid_t owner_;
    gid_t group_;
};

}  // namespace fw_test
