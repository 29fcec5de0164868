#include "engine/ftp/ftp_list_parser.h"

#include "platform/util/ascii_case.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace engine {
namespace {

struct Token {
    std::string_view text;
    size_t end;  // position just behind the token in its line
};

std::vector<Token> Tokens(std::string_view line, size_t maxTokens) {
    std::vector<Token> tokens;
    size_t pos = 0;
    while (tokens.size() < maxTokens) {
        pos = line.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) break;
        const size_t end = std::min(line.find(' ', pos), line.size());
        tokens.push_back({line.substr(pos, end - pos), end});
        pos = end;
    }
    return tokens;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool IsMonth(std::string_view text) {
    static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                                 "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3) return false;
    return std::find(kMonths.begin(), kMonths.end(), platform::AsciiLower(text)) != kMonths.end();
}

bool IsTimeOrYear(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return AllDigits(text) && text.size() == 4;
    return AllDigits(text.substr(0, colon)) && AllDigits(text.substr(colon + 1));
}

bool ParseSize(std::string_view digits, int64_t* size) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), *size);
    return error == std::errc() && end == digits.data() + digits.size();
}

// The name begins one blank after the token before it; names may hold blanks of their own.
std::string_view NameAfter(std::string_view line, const Token& before) {
    return before.end + 1 < line.size() ? line.substr(before.end + 1) : std::string_view{};
}

bool UnixPlainFile(std::string_view line, std::string_view* name, int64_t* size) {
    if (line.empty() || line[0] != '-') return false;
    const std::vector<Token> tokens = Tokens(line, 9);
    // The date is three tokens "Mon DD HH:MM|YYYY"; the columns before it vary between servers.
    for (size_t i = 3; i + 2 < tokens.size(); ++i) {
        if (IsMonth(tokens[i].text) && AllDigits(tokens[i + 1].text) && IsTimeOrYear(tokens[i + 2].text) &&
            AllDigits(tokens[i - 1].text)) {
            *name = NameAfter(line, tokens[i + 2]);
            return ParseSize(tokens[i - 1].text, size);
        }
    }
    return false;
}

bool DosPlainFile(std::string_view line, std::string_view* name, int64_t* size) {
    const std::vector<Token> tokens = Tokens(line, 3);
    if (tokens.size() < 3 || tokens[0].text.size() < 8 || tokens[0].text[2] != '-') return false;
    if (!AllDigits(tokens[2].text)) return false;  // "<DIR>" is a folder
    *name = NameAfter(line, tokens[2]);
    const size_t first = name->find_first_not_of(' ');
    *name = first == std::string_view::npos ? std::string_view{} : name->substr(first);
    return ParseSize(tokens[2].text, size);
}

}  // namespace

std::vector<FtpListedFile> PlainFilesInListing(std::string_view listing) {
    std::vector<FtpListedFile> files;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        if (end == std::string_view::npos) end = listing.size();
        std::string_view line = listing.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string_view name;
        int64_t size = 0;
        if ((UnixPlainFile(line, &name, &size) || DosPlainFile(line, &name, &size)) && !name.empty()) {
            files.push_back({std::string(name), size});
        }
        start = end + 1;
    }
    return files;
}

}  // namespace engine
