// The index.html template of the HTML folder: the file's text when it exists and is not empty,
// otherwise the built-in page, which is then written there (temporary name and rename). The snapshot
// and file-drop writers replace "<imgsrc>" in it with the image address.
#pragma once

#include <string>

#include "app/settings/app_globals.h"

namespace app {

inline constexpr const char* kIndexImagePlaceholder = "<imgsrc>";

// The built-in page: reloads the image "capimg" once a second.
const std::string& BuiltInIndexHtml();

// The page of htmlDir + "index.html" as above. A failed write is logged; the built-in text is used anyway.
TIndexPage LoadIndexTemplate(const std::string& htmlDir);

}  // namespace app
