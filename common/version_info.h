// The program's version block. There is no version resource in program files on this platform: the
// ten strings come from the build and describe the running program's own file.
#pragma once

#include <string>

namespace app {

struct TMyFileInfo {
    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string LegalTrademarks;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
    std::string Comments;
};

// True with info filled when fileName is the running program's own file; false (info untouched) for
// any other file, which carries no version block we can read.
bool ReadVersionInfo(const std::string& fileName, TMyFileInfo& info);

// FileVersion up to its first "." ("9" for 9.0.2.1025); "" when there is no "." in it.
std::string MajorVersionOf(const std::string& fileVersion);
// The major version of the running program's file; "" on any failure.
std::string GetMajorVersion();

}  // namespace app
