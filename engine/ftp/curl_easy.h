// RAII owners of libcurl's C handles: the easy handle and the string list its quote options take.
// libcurl's process-wide set-up runs once, the first time a handle is made.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>

namespace engine {

class CurlEasy {
public:
    // A fresh easy handle; valid() is false when libcurl could not make one.
    CurlEasy();
    ~CurlEasy() = default;
    CurlEasy(const CurlEasy&) = delete;
    CurlEasy& operator=(const CurlEasy&) = delete;

    bool valid() const { return handle_ != nullptr; }
    CURL* get() const { return handle_.get(); }

private:
    struct Cleanup {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    std::unique_ptr<CURL, Cleanup> handle_;
};

class CurlStringList {
public:
    CurlStringList() = default;
    ~CurlStringList();
    CurlStringList(const CurlStringList&) = delete;
    CurlStringList& operator=(const CurlStringList&) = delete;

    // False when libcurl could not take the line (out of memory); the list then stays as it was.
    bool Append(const std::string& line);
    curl_slist* get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

}  // namespace engine
