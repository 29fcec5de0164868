// Hollarin's command line as Framewick writes it: "-vv" followed by the libVLC version to install and
// "-dd" followed by the library folder. Switches are case-sensitive; any other argument that begins
// with "-" is ignored.
#pragma once

#include <string>
#include <vector>

namespace hollarin {

inline constexpr const char* kVersionSwitch = "-vv";
inline constexpr const char* kFolderSwitch = "-dd";

struct TCommandLine {
    std::string VlcVersionParam;  // the value given after "-vv"
    std::string VlcDirParam;      // the value given after "-dd"
};

// arguments: the process's arguments without the program name. A switch arms its variable; the next
// argument that does not begin with "-" (an empty one counts) goes into every armed variable and
// disarms them, so "-vv -dd X" stores X into both and a value with no armed switch before it is lost.
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace hollarin
