#include "installer/CommandLine.h"

namespace hollarin {

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    TCommandLine line;
    bool versionArmed = false;
    bool folderArmed = false;
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument.front() == '-') {
            if (argument == kVersionSwitch) versionArmed = true;
            if (argument == kFolderSwitch) folderArmed = true;
            continue;
        }
        if (versionArmed) line.VlcVersionParam = argument;
        if (folderArmed) line.VlcDirParam = argument;
        versionArmed = false;
        folderArmed = false;
    }
    return line;
}

}  // namespace hollarin
