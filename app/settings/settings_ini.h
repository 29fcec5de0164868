// framewick.ini: sections [General], [Http] and [Hls] with the keys of engine::TSettings.
//
// Reading keeps what is good and takes the default for what is bad: a missing file, section or key,
// or text where a number belongs reads that key's default; an empty VlcVer reads kDefaultVlcVer;
// ArchiveLimit keeps only the low byte of the number read. Numbers are taken as they stand (a JPEG
// quality of 300 is clamped by the encoder that uses it), except the few that would break what uses
// them (a port of 0, no HLS segment length): those read the default with a log line. Saving writes
// every key and leaves keys it does not know alone; the file is replaced atomically, so a failed save
// leaves the old file whole, and a read-only file is never replaced.
#pragma once

#include <string>

#include "app/settings/app_paths.h"
#include "app/settings/ini_file.h"
#include "engine/settings/settings.h"

namespace app {

inline constexpr const char* kIniSectionGeneral = "General";
inline constexpr const char* kIniSectionHttp = "Http";
inline constexpr const char* kIniSectionHls = "Hls";

// The settings held by ini, with the defaults of paths for what is missing or bad.
engine::TSettings ReadSettings(const TIniFile& ini, const TAppPaths& paths);
// Writes every key of settings into ini, in the file's order.
void WriteSettings(TIniFile& ini, const engine::TSettings& settings);

// Reads AppPaths()->IniFileName, publishes the settings read and restarts the internal-port counter.
void LoadIniFile();
// Writes the current settings into AppPaths()->IniFileName. False with *error (for the caller's log
// line) when the file cannot be written.
bool SaveIniFile(std::string* error = nullptr);

}  // namespace app
