#include "app/settings/ini_file.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "engine/util/atomic_file.h"

namespace app {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

}  // namespace

TIniFile::TIniFile(const std::string& fileName) : fileName_(fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    Parse(text.str());
}

void TIniFile::Parse(const std::string& text) {
    sections_.push_back(TSection{});
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            sections_.push_back(TSection{Trim(trimmed.substr(1, trimmed.size() - 2)), {}});
            continue;
        }
        size_t eq = line.find('=');
        std::string key = eq == std::string::npos ? std::string() : Trim(line.substr(0, eq));
        bool isKey = !key.empty() && key[0] != ';' && key[0] != '#' && !sections_.back().Name.empty();
        if (isKey)
            sections_.back().Lines.push_back(TLine{key, Trim(line.substr(eq + 1)), {}});
        else
            sections_.back().Lines.push_back(TLine{{}, {}, line});
    }
}

const TIniFile::TSection* TIniFile::FindSection(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (const auto& s : sections_)
        if (SameText(s.Name, name)) return &s;
    return nullptr;
}

const TIniFile::TLine* TIniFile::FindLine(const std::string& section, const std::string& key) const {
    const TSection* s = FindSection(section);
    if (!s || key.empty()) return nullptr;
    for (const auto& l : s->Lines)
        if (!l.Key.empty() && SameText(l.Key, key)) return &l;
    return nullptr;
}

bool TIniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindLine(section, key) != nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const TLine* l = FindLine(section, key);
    if (!l) return def;
    return l->Value.size() > kMaxIniValueLength ? l->Value.substr(0, kMaxIniValueLength) : l->Value;
}

std::optional<int32_t> TIniFile::ParseInteger(const std::string& raw) {
    std::string text = Trim(raw);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    size_t pos = 0;
    if (text[pos] == '-' || text[pos] == '+') negative = text[pos++] == '-';
    int base = 10;
    if (text.compare(pos, 2, "0x") == 0 || text.compare(pos, 2, "0X") == 0) {
        base = 16;
        pos += 2;
    } else if (pos < text.size() && text[pos] == '$') {
        base = 16;
        pos += 1;
    }
    if (pos >= text.size()) return std::nullopt;
    long long value = 0;
    for (; pos < text.size(); ++pos) {
        int digit;
        char c = text[pos];
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * base + digit;
        // Hexadecimal may spell the 32 bits of a negative number (0xFFFFFFFF is -1).
        if (value > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL)) return std::nullopt;
    }
    if (base == 16 && !negative) return static_cast<int32_t>(static_cast<uint32_t>(value));
    if (negative) value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
    const TLine* l = FindLine(section, key);
    if (!l) return def;
    return ParseInteger(l->Value).value_or(def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (section.empty() || key.empty()) return;
    // A value is one line: line breaks would split it into other keys.
    std::string clean = value;
    for (char& c : clean)
        if (c == '\n' || c == '\r') c = ' ';
    if (TLine* found = FindLine(section, key)) {
        found->Value = clean;
        return;
    }
    if (sections_.empty()) sections_.push_back(TSection{});
    TSection* target = FindSection(section);
    if (!target) {
        sections_.push_back(TSection{section, {}});
        target = &sections_.back();
    }
    // New keys go after the section's last key, before any trailing blank lines.
    auto at = target->Lines.end();
    while (at != target->Lines.begin() && std::prev(at)->Key.empty() && Trim(std::prev(at)->Raw).empty()) --at;
    target->Lines.insert(at, TLine{key, clean, {}});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Text() const {
    std::string text;
    for (const auto& s : sections_) {
        if (!s.Name.empty()) text += "[" + s.Name + "]\n";
        for (const auto& l : s.Lines) text += (l.Key.empty() ? l.Raw : l.Key + "=" + l.Value) + "\n";
    }
    return text;
}

bool TIniFile::Save(const std::string& fileName, std::string* error) const {
    const std::string& target = fileName.empty() ? fileName_ : fileName;
    if (target.empty()) {
        if (error) *error = "no file name";
        return false;
    }
    return engine::WriteUserFileAtomic(target, Text(), error);
}

}  // namespace app
