// Scans of one folder: size, newest and oldest file, file counts, file and sub-folder lists.
//
// Entries are visited in name order (byte order), so "the file listed first" is well defined; "." and
// ".." are never seen. A hidden entry is one whose name starts with "."; the table of each routine
// says whether it sees them. Symbolic links are never followed into folders. A Dir without a trailing
// "/" gets one. Every routine may run on any thread and never throws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

// Sum of the sizes of all files in Dir (hidden ones included); with recursive, of all sub-folders too.
// 0 when Dir is no folder or the scan fails; a sub-folder whose scan fails adds 0.
uint64_t GetFolderSize(const std::string& dir, bool recursive);

// Bare name of the file with the latest modification time (two-second resolution; ties keep the file
// listed first) whose extension (".ts", dot included) equals ext ignoring case; any file when ext is
// empty. Hidden files are seen. "" when Dir is no folder or no file qualifies.
std::string GetNewestFile(const std::string& dir, const std::string& ext);
// As GetNewestFile without the extension filter, taking the earliest time.
std::string GetOldestFile(const std::string& dir);

// Number of files (not folders) in Dir whose name matches mask ("*", "?"; case ignored; "*.*" matches
// every name). Hidden files count.
int CountFiles(const std::string& mask, const std::string& dir);

// Appends dir + name of every file matching mask (hidden files included); with recursive, then those
// of every sub-folder that is not hidden, a folder's own files first. The list is not cleared.
void ListFiles(const std::string& dir, const std::string& mask, std::vector<std::string>& list, bool recursive);

// Appends every sub-folder of Dir that is not hidden: dir + name with fullPath, else the bare name.
void ListSubFolders(const std::string& dir, std::vector<std::string>& list, bool fullPath);

// True when name matches the wildcard mask the way the file searches of the original system do.
bool MatchesMask(const std::string& name, const std::string& mask);

}  // namespace engine
