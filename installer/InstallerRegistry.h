// Hollarin's own registry values, below the current user's "SOFTWARE\Pellorin\Morvalt\v<major>\Monitor"
// (major: the installer's file version up to its first "."). While no major version is known the key
// name is empty and nothing is read or written: the readers give their defaults. Hollarin reads and
// writes nothing of Framewick's keys. Registry errors are never reported.
#pragma once

#include <string>
#include <string_view>

namespace hollarin {

inline constexpr const char* kMakerKeyPrefix = "SOFTWARE\\Pellorin\\Morvalt\\v";
inline constexpr const char* kSupportedVlcVerValue = "SupportedVlcVer";
inline constexpr const char* kDefaultSupportedVlcVer = "2.0.6";
inline constexpr const char* kDpiDialogValue = "DpiDialog";
inline constexpr const char* kZipFnValue = "ZipFn";
inline constexpr const char* kZipDirValue = "ZipDir";
inline constexpr const char* kInstallRootValue = "Root";
inline constexpr const char* kHelpFolderName = "Help";

// The installer's file version ("9.0.2.1025") and its part before the first "." ("" without one).
std::string InstallerFileVersion();
std::string GetMajorVersion();

// The key name, formed once a major version is known and kept for the rest of the process.
std::string MonitorRegKey();

// The string value name of MonitorRegKey, or fallback when it cannot be read.
std::string RegReadMonitorString(std::string_view name, std::string_view fallback);
void RegWriteMonitorString(std::string_view name, std::string_view value);

// The install root named for the program file fileName: the string "Root" of the local machine's key
// kMakerKeyPrefix + the major version of fileName. Only the running program's own file carries a
// version here; any other file reads the key without a major. "" when the key or value is missing or
// on any registry error.
std::string ReadInstallRoot(const std::string& fileName);
// The help folder: the running program's install root + "Help/" (a separator put between them when
// the root lacks one; "Help/" alone without a root). Formed at the first call and kept.
std::string HelpDir();

// "DpiDialog": true means the screen-resolution warning is not shown; false when it cannot be read.
bool ReadDpiDialog();
void WriteDpiDialog(bool value);

}  // namespace hollarin
