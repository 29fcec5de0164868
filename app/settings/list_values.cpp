#include "app/settings/list_values.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace app {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<int64_t> ParseListInteger(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> ParseListBool(std::string_view text) {
    const std::string_view word = Trim(text);
    if (EqualsIgnoreCase(word, "True")) return true;
    if (EqualsIgnoreCase(word, "False")) return false;
    if (const auto number = ParseListInteger(word)) return *number != 0;
    return std::nullopt;
}

std::optional<std::string> TListEntryReader::Text(const char* name) const {
    const pugi::xml_node child = entry_.child(name);
    if (!child) return std::nullopt;
    return std::string(child.text().get());
}

std::optional<int64_t> TListEntryReader::Integer(const char* name) const {
    const auto text = Text(name);
    return text ? ParseListInteger(*text) : std::nullopt;
}

bool TListEntryReader::ReadText(const char* name, std::string& value) const {
    auto text = Text(name);
    if (!text) return false;
    value = std::move(*text);
    return true;
}

bool TListEntryReader::ReadBool(const char* name, bool& value) const {
    const auto text = Text(name);
    const auto parsed = text ? ParseListBool(*text) : std::nullopt;
    if (parsed) value = *parsed;
    return parsed.has_value();
}

bool TListEntryReader::ReadInt(const char* name, int32_t& value) const {
    const auto parsed = Integer(name);
    if (!parsed || *parsed < std::numeric_limits<int32_t>::min() || *parsed > std::numeric_limits<int32_t>::max())
        return false;
    value = static_cast<int32_t>(*parsed);
    return true;
}

bool TListEntryReader::ReadAddress(const char* name, int32_t& value) const {
    const auto parsed = Integer(name);
    if (!parsed || *parsed < std::numeric_limits<int32_t>::min() || *parsed > std::numeric_limits<uint32_t>::max())
        return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(*parsed));
    return true;
}

void TListEntryWriter::Text(const char* name, const std::string& value) {
    entry_.append_child(name).text().set(value.c_str());
}

void TListEntryWriter::Bool(const char* name, bool value) { Text(name, value ? "True" : "False"); }

void TListEntryWriter::Int(const char* name, int64_t value) { Text(name, std::to_string(value)); }

}  // namespace app
