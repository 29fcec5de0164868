// Reading and writing one list file through the list documents' pool, the shape all three list files
// share. Writing is atomic (temporary file and rename) and the file is readable by its owner only: the
// lists hold passwords. A file that cannot be read whole (damaged, truncated, another root element) is
// kept aside under a new name and logged, so the next save cannot replace it with a shorter list; the
// entries before the damage are read.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>

#include "app/lists/list_file_limits.h"
#include "engine/util/xml_doc_pool.h"

namespace app {

struct TListFileFormat {
    const char* RootName;   // "CAPTURE_LIST"
    const char* EntryName;  // "CAPTURE_LIST_ENTRY"
    size_t MaxEntries = kMaxListEntries;
    TNestedListNames NestedLists{};  // element names of the lists inside an entry ("streamer_list")
};

// The suffix of a file kept aside; a time stamp (and a number, if needed) follows it.
inline constexpr const char* kDamagedListSuffix = ".damaged-";

// The list files' log lines go to the log queue with the error level.
void LogListFileError(const std::string& text);

// Calls readEntry for every whole entry element of the file's root, in document order. Nothing happens
// without a pool document or a file. An exception out of readEntry stops the reading (logged); the
// entries read before stay. What goes beyond the limits (list_file_limits.h) is left out of the
// reading, logged, and the file kept aside. False when the file was kept aside.
bool LoadListFile(engine::TXmlDocPool* pool, const std::string& path, const TListFileFormat& format,
                  const std::function<void(pugi::xml_node entry)>& readEntry);

// Writes the root element and whatever writeEntries appends to it, replacing the file. False (logged)
// when nothing was written; the old file then stays. A read-only file is never replaced.
bool SaveListFile(engine::TXmlDocPool* pool, const std::string& path, const TListFileFormat& format,
                  const std::function<void(pugi::xml_node root)>& writeEntries);

}  // namespace app
