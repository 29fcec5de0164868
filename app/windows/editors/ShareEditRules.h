// The text rules of the share editor: the FTP host folder as it is checked and stored, the share's
// sub-folder, the UDP address check and the text of a web-server choice.
#pragma once

#include <string>

namespace app {

class THttpServerEntry;

// Lower case, "\" as "/", doubled and outer separators dropped: "\Live\\Cam1\" gives "live/cam1".
std::string NormalizeHostDir(const std::string& hostDir);
// Leading blanks removed, every other blank turned into "_": " my dir" gives "my_dir".
std::string CleanSubDir(const std::string& subDir);
// True when the sub-folder stays below the web server's root: relative, with no ".." component.
bool IsSubDirInsideRoot(const std::string& subDir);
// True for a dotted IPv4 address of four decimal parts 0..255.
bool IsValidDottedIp(const std::string& text);
// "[" + position as 2 digits + "] - " + "EXT - " for an external server + address:port + " (" + name + ")".
std::string WebServerChoiceText(const THttpServerEntry& entry, int position);

}  // namespace app
