// Copying, deleting and clearing whole folders (the shell's file operations of the original system).
//
// Safety rules that hold for every routine here: an empty path, "/", the user's home folder and a
// path that is itself a symbolic link are refused (result false, nothing touched); symbolic links
// inside a folder are removed or copied as links and never followed, so nothing outside the folder
// that was named is ever changed.
#pragma once

#include <string>

namespace engine {

// Copies a folder. With a trailing "/", Source's contents go into Dest; without it, the folder Source
// itself (with everything in it) goes into Dest (the "plugins" folder copy). Files of the same name in
// Dest are overwritten. Dest is created with its parents. False when Source is no folder, Dest lies
// inside Source, or anything could not be copied.
bool CopyFolder(const std::string& source, const std::string& dest);

// Deletes everything inside Dir and then Dir itself. True when the contents were deleted, whether or
// not the emptied folder itself could be removed; false when Dir is no folder, is refused, or an entry
// inside could not be deleted (Dir then stays).
bool DeleteFolder(const std::string& dir);

// As DeleteFolder, but Dir itself stays.
bool ClearFolder(const std::string& dir);

// Why DeleteFolder and ClearFolder refuse dir ("it is a link", "it is the root folder", ...); empty when
// dir is a real folder they may act in.
std::string FolderTouchRefusal(const std::string& dir);

}  // namespace engine
