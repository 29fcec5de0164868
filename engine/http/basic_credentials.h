// Basic authorisation: the user name and password a request carries, and their comparison with the
// server's own in constant time (the time taken does not tell how much of a guess was right).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

struct TBasicCredentials {
    std::string User;
    std::string Password;
};

// The credentials of an "Authorization" header value ("Basic " + base64 of "user:password"); none when
// the value is absent, of another scheme or not valid base64 with a colon.
std::optional<TBasicCredentials> ParseBasicAuthorization(std::string_view headerValue);

// Equal length and equal bytes, compared without an early exit.
bool ConstantTimeEquals(std::string_view a, std::string_view b);

// True when given carries a non-empty user and both parts match expected exactly (case-sensitive).
bool CredentialsMatch(const std::optional<TBasicCredentials>& given, std::string_view expectedUser,
                      std::string_view expectedPassword);

}  // namespace engine
