#include "engine/ftp/curl_easy.h"

#include <mutex>

namespace engine {
namespace {

void GlobalInitOnce() {
    static std::once_flag once;
    // Never undone: other parts of the program may hold handles until the process ends.
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

CurlEasy::CurlEasy() {
    GlobalInitOnce();
    handle_.reset(curl_easy_init());
}

CurlStringList::~CurlStringList() { curl_slist_free_all(list_); }

bool CurlStringList::Append(const std::string& line) {
    curl_slist* longer = curl_slist_append(list_, line.c_str());
    if (!longer) return false;
    list_ = longer;
    return true;
}

}  // namespace engine
