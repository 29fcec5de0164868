#include "app/settings/settings.h"

namespace app {

TSettings DefaultSettings(const TAppPaths& paths) {
    TSettings s;
    s.LogDir = paths.DefaultLogDir;
    s.Root = paths.DefaultHttpRoot;
    s.HtmlDir = paths.DefaultHtmlDir;
    s.ArchiveDir = paths.DefaultArchiveDir;
    return s;
}

}  // namespace app
