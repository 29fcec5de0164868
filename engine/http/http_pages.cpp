#include "engine/http/http_pages.h"

namespace engine {

std::string ErrorPage(std::string_view reason) {
    return "<html><head><title>Error</title></head><body><h1>" + std::string(reason) + "</h1></body></html>";
}

std::string SessionPage(bool closeAction) {
    std::string page = "<html><head><title>Virtual folder</title></head><body>";
    page += closeAction ? "<h1>Session cleared</h1><p><a href=\"/sessions\">Back</a></p>"
                        : "<p color=#FF000>No session</p>";
    page += "</body></html>";
    return page;
}

}  // namespace engine
