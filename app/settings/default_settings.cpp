#include "app/settings/default_settings.h"

namespace app {

engine::TSettings DefaultSettings(const TAppPaths& paths) {
    engine::TSettings s;
    s.LogDir = paths.DefaultLogDir;
    s.Root = paths.DefaultHttpRoot;
    s.HtmlDir = paths.DefaultHtmlDir;
    s.ArchiveDir = paths.DefaultArchiveDir;
    return s;
}

}  // namespace app
