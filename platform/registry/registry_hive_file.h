// The file of one hive and its lock file. Loading never writes. A change is a read-modify-write under
// an exclusive flock on "<file>.lock" (other processes and other threads of this one wait): the hive is
// read again, changed, written to "<file>.tmp", flushed to disk and renamed over the file, so a reader
// sees the old or the new content even when the writer dies half-way. A damaged file reads as empty and
// is renamed aside ("<file>.damaged-<time>") before the first change replaces it, so its bytes stay.
#pragma once

#include <functional>
#include <string>

#include "platform/registry/registry_hive.h"

namespace platform {

class RegistryHiveFile {
public:
    enum class State { Missing, Loaded, Damaged, Unreadable };

    RegistryHiveFile(std::string folder, std::string fileName);

    const std::string& FilePath() const { return file_; }

    // The hive as stored; empty unless the state is Loaded.
    State Load(RegistryHive& hive) const;

    // Applies change to the stored hive and stores the result; change answers false to leave the file
    // as it is (and Modify then answers false too). False also when the hive cannot be stored.
    bool Modify(const std::function<bool(RegistryHive&)>& change) const;

private:
    bool SetDamagedFileAside() const;

    std::string folder_;
    std::string file_;
};

}  // namespace platform
