// What the program does before its main block: COM for the user-interface thread, the instance, the
// locale formats, the data folder and every path derived from it, the library folder beside the
// program, the default Log, HTML and Archive folders, the random-number generator's seed, and the
// global lock.
#pragma once

#include <string>
#include <vector>

#include "app/settings/app_paths.h"

namespace app {

// Sets the paths built from the three folders (SetAppPaths) and creates the library folder and the
// default Log, HTML and Archive folders where missing (with their parents). A folder that cannot be
// made is left out and reported in *failures (one line each); the program goes on without it, as the
// writers into those folders report their own failures.
TAppPaths SetUpPathsAndFolders(const std::string& dataFolder, const std::string& programFolder,
                               const std::string& installFolder, std::vector<std::string>* failures = nullptr);

// Seeds the C library's random-number generator (std::rand) from the clock, to the nanosecond.
void SeedRandomFromClock();

// The start-up code, in its order, for this process and its arguments (without the program name).
// Holds COM for the user-interface thread until it is destroyed.
class TStartUpCode {
public:
    explicit TStartUpCode(const std::vector<std::string>& arguments);
    ~TStartUpCode();
    TStartUpCode(const TStartUpCode&) = delete;
    TStartUpCode& operator=(const TStartUpCode&) = delete;

    // Folders that could not be created, for the log once it runs.
    const std::vector<std::string>& FolderFailures() const { return folderFailures_; }

private:
    bool comInitialized_ = false;
    std::vector<std::string> folderFailures_;
};

}  // namespace app
