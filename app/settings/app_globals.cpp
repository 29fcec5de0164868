#include "app/settings/app_globals.h"
#include "engine/settings/program_state.h"

#include <langinfo.h>
#include <locale.h>

#include <mutex>

#include "engine/settings/program_state.h"

namespace app {

namespace {
std::string g_requestPathPrefix;  // guarded by GlobalLock

std::mutex g_stateMutex;  // guards the pool pointer, the locale and the index page below
std::unique_ptr<engine::TXmlDocPool> g_listDocPool;
TLocaleSettings g_locale;
std::shared_ptr<const TIndexPage> g_indexPage = std::make_shared<const TIndexPage>();
}  // namespace

void SetRequestPathPrefix(const std::string& prefix) {
    std::lock_guard lock(engine::GlobalLock());
    g_requestPathPrefix = prefix;
}

std::string RequestPathPrefix() {
    std::lock_guard lock(engine::GlobalLock());
    return g_requestPathPrefix;
}

engine::TXmlDocPool* ListDocPool() {
    std::lock_guard lock(g_stateMutex);
    return g_listDocPool.get();
}

void SetListDocPool(std::unique_ptr<engine::TXmlDocPool> pool) {
    std::unique_ptr<engine::TXmlDocPool> old;
    std::lock_guard lock(g_stateMutex);
    old.swap(g_listDocPool);
    g_listDocPool = std::move(pool);
}

void InitLocaleSettings() {
    TLocaleSettings formats;
    if (locale_t loc = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0))) {
        const char* thousands = ::nl_langinfo_l(THOUSEP, loc);
        const char* decimal = ::nl_langinfo_l(RADIXCHAR, loc);
        if (thousands && thousands[0] && !thousands[1]) formats.ThousandSeparator = thousands[0];
        if (decimal && decimal[0] && !decimal[1]) formats.DecimalSeparator = decimal[0];
        if (const char* d = ::nl_langinfo_l(D_FMT, loc); d && *d) formats.DateFormat = d;
        if (const char* t = ::nl_langinfo_l(T_FMT, loc); t && *t) formats.TimeFormat = t;
        ::freelocale(loc);
    }
    std::lock_guard lock(g_stateMutex);
    g_locale = formats;
}

TLocaleSettings LocaleSettings() {
    std::lock_guard lock(g_stateMutex);
    return g_locale;
}

std::shared_ptr<const TIndexPage> IndexPage() {
    std::lock_guard lock(g_stateMutex);
    return g_indexPage;
}

void SetIndexPage(const TIndexPage& page) {
    auto snapshot = std::make_shared<const TIndexPage>(page);
    std::lock_guard lock(g_stateMutex);
    g_indexPage = std::move(snapshot);
}

}  // namespace app
