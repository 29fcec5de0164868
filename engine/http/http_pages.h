// The pages the web servers answer with themselves.
#pragma once

#include <string>
#include <string_view>

namespace engine {

constexpr const char* kAuthRealm = "Vexmira HTTP Server";
constexpr const char* kAuthFailedPage =
    "<html><head><title>Error</title></head><body><h1>Authentication failed</h1></body></html>";
constexpr const char* kAccessDeniedPage =
    "<html><head><title>Error</title></head><body><h1>Access denied</h1>\r"
    "You do not have sufficient priviligies to access this document.</body></html>";
constexpr const char* kSessionPageType = "text/HTML";

// The not-found page, and the page of any other error status, carrying the reason phrase.
std::string ErrorPage(std::string_view reason);

// The session page: the servers keep no sessions, so it either confirms a "close" action or says so.
std::string SessionPage(bool closeAction);

}  // namespace engine
