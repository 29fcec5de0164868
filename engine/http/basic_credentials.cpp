#include "engine/http/basic_credentials.h"

#include "platform/util/ascii_case.h"

#include <boost/beast/core/detail/base64.hpp>

#include <algorithm>
#include <cctype>

namespace engine {
namespace {

constexpr std::string_view kBasicScheme = "basic";

bool IsBase64Char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
}

// Base64 text of whole quads, padded with at most two "=" at its very end.
bool IsWellFormedBase64(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return false;
    size_t padding = 0;
    while (padding < 2 && text[text.size() - 1 - padding] == '=') ++padding;
    text.remove_suffix(padding);
    return std::all_of(text.begin(), text.end(), IsBase64Char);
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<TBasicCredentials> ParseBasicAuthorization(std::string_view headerValue) {
    std::string_view value = TrimBlanks(headerValue);
    if (value.size() <= kBasicScheme.size()) return std::nullopt;
    if (!platform::StartsWithIgnoringCase(value, kBasicScheme)) return std::nullopt;
    if (value[kBasicScheme.size()] != ' ') return std::nullopt;
    std::string_view encoded = TrimBlanks(value.substr(kBasicScheme.size() + 1));
    if (!IsWellFormedBase64(encoded)) return std::nullopt;
    namespace b64 = boost::beast::detail::base64;
    std::string decoded(b64::decoded_size(encoded.size()), '\0');
    size_t written = b64::decode(decoded.data(), encoded.data(), encoded.size()).first;
    decoded.resize(written);
    size_t colon = decoded.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return TBasicCredentials{decoded.substr(0, colon), decoded.substr(colon + 1)};
}

bool ConstantTimeEquals(std::string_view a, std::string_view b) {
    // Walks the longer text whole, so the time depends on the lengths only.
    size_t longest = std::max(a.size(), b.size());
    unsigned diff = a.size() == b.size() ? 0u : 1u;
    for (size_t i = 0; i < longest; ++i) {
        unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= static_cast<unsigned>(ca ^ cb);
    }
    return diff == 0;
}

bool CredentialsMatch(const std::optional<TBasicCredentials>& given, std::string_view expectedUser,
                      std::string_view expectedPassword) {
    if (!given || given->User.empty()) return false;
    bool userOk = ConstantTimeEquals(given->User, expectedUser);
    bool passwordOk = ConstantTimeEquals(given->Password, expectedPassword);
    return userOk && passwordOk;
}

}  // namespace engine
