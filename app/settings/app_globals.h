// The user interface's shared run-time state: the instance number, the running instance's window, the
// request-path prefix, the list documents' pool, the locale formats and the index page template. The
// flags and the lock the engine shares are in engine/settings/program_state.h.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/util/xml_doc_pool.h"
#include "platform/display/display.h"

namespace app {

// This program's instance number (0 for a plain installation), set at start-up.
inline std::atomic<int> InstanceIndex{0};
// The running instance's main window found at start-up.
inline std::atomic<platform::WindowId> PrevInstanceWnd{platform::kNoWindow};

// The path prefix of the request being handled (web server, capture panel); both take GlobalLock.
void SetRequestPathPrefix(const std::string& prefix);
std::string RequestPathPrefix();

// The pool of the list files' XML documents, owned here and set by the main window (nullptr before).
engine::TXmlDocPool* ListDocPool();
void SetListDocPool(std::unique_ptr<engine::TXmlDocPool> pool);

// Date, time and number formats of the system's default locale.
struct TLocaleSettings {
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    std::string DateFormat = "%Y-%m-%d";  // strftime formats
    std::string TimeFormat = "%H:%M:%S";
};
// Fills the formats from the environment's locale (start-up).
void InitLocaleSettings();
TLocaleSettings LocaleSettings();

// index.html of the HTML folder and its template lines, set by the main window.
struct TIndexPage {
    std::string IndexHtmlFile;
    std::vector<std::string> IndexTemplate;
};
std::shared_ptr<const TIndexPage> IndexPage();
void SetIndexPage(const TIndexPage& page);

}  // namespace app
