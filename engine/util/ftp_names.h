// Text rules for what goes onto an FTP control connection: the server address, remote folder paths
// and file names. Nothing with a control character is ever sent (it would end the command line and
// start another one).
#pragma once

#include <string>
#include <string_view>

namespace engine {

// The server part of a share's FTP host ("http://Example.org/x" -> "Example.org", "ftp.host:2121"
// stays): the scheme and any path are dropped. "" when nothing usable is left (blanks, control
// characters or a user part "name@" inside).
std::string FtpServerAddress(std::string_view host);

// A file name that may go into a command: not empty, not "." or "..", no "/" and no control character.
bool IsSafeFtpName(std::string_view name);

// The remote folder of a mirror: lower case, "\" turned into "/", empty and doubled separators
// dropped, no leading "/" and one trailing "/" ("\Live\\Cam1" -> "live/cam1/"; "" stays "").
std::string NormalizeMirrorHostDir(std::string_view hostDir);

// True when every component of a normalised host folder is a safe name.
bool IsSafeHostDir(std::string_view normalizedHostDir);

// The absolute server path of a normalised host folder ("live/cam1/" -> "/live/cam1", "" -> "/").
std::string AbsoluteHostDir(std::string_view normalizedHostDir);

// The name an upload is written under before it is renamed to its own name.
std::string FtpTemporaryName(std::string_view name);
// The name whose upload a temporary name stands for ("a.ts.part" -> "a.ts"); "" for any other name.
std::string FtpNameOfTemporary(std::string_view temporary);

}  // namespace engine
