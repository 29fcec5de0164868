#include "platform/registry/registry_hive_text.h"

#include <charconv>

namespace platform {

namespace {

constexpr std::string_view kHeaderLine = "FRAMEWICK-REGISTRY 1";
constexpr std::string_view kEndLine = "end";
constexpr char kHexDigits[] = "0123456789abcdef";

bool NeedsEscape(unsigned char c) { return c < 0x20 || c == 0x7f || c == '%' || c == '"'; }

void AppendQuoted(std::string& out, std::string_view bytes) {
    out += '"';
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c)) {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 0xf];
        } else {
            out += ch;
        }
    }
    out += '"';
}

void AppendHexQuoted(std::string& out, const std::vector<uint8_t>& bytes) {
    out += '"';
    for (uint8_t b : bytes) {
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 0xf];
    }
    out += '"';
}

void AppendKey(std::string& out, const RegistryKeyNode& node, RegKeyPath& path) {
    // Every key but an empty root gets its own line, so keys without values survive.
    if (!path.empty() || !node.values.empty()) {
        out += "key ";
        AppendQuoted(out, JoinKeyPath(path));
        out += '\n';
    }
    for (const auto& [folded, value] : node.values) {
        switch (value.Type()) {
            case RegValueType::String:
                out += "str ";
                AppendQuoted(out, value.name);
                out += ' ';
                AppendQuoted(out, std::get<std::string>(value.data));
                break;
            case RegValueType::Integer:
                out += "int ";
                AppendQuoted(out, value.name);
                out += ' ';
                out += std::to_string(std::get<int32_t>(value.data));
                break;
            case RegValueType::Binary:
                out += "bin ";
                AppendQuoted(out, value.name);
                out += ' ';
                AppendHexQuoted(out, std::get<std::vector<uint8_t>>(value.data));
                break;
        }
        out += '\n';
    }
    for (const auto& [folded, child] : node.subKeys) {
        path.push_back(child->name);
        AppendKey(out, *child, path);
        path.pop_back();
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the tokens of one line: bare words and quoted texts (escapes undone).
class LineReader {
public:
    explicit LineReader(std::string_view line) : line_(line) {}

    bool AtEnd() {
        SkipBlanks();
        return pos_ >= line_.size();
    }

    std::optional<std::string_view> Word() {
        SkipBlanks();
        size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') ++pos_;
        if (pos_ == start) return std::nullopt;
        return line_.substr(start, pos_ - start);
    }

    std::optional<std::string> Quoted() {
        SkipBlanks();
        if (pos_ >= line_.size() || line_[pos_] != '"') return std::nullopt;
        ++pos_;
        std::string text;
        while (pos_ < line_.size()) {
            auto c = static_cast<unsigned char>(line_[pos_]);
            if (c == '"') {
                ++pos_;
                return text;
            }
            if (c < 0x20 || c == 0x7f) return std::nullopt;
            if (c == '%') {
                if (pos_ + 2 >= line_.size()) return std::nullopt;
                int hi = HexValue(line_[pos_ + 1]), lo = HexValue(line_[pos_ + 2]);
                if (hi < 0 || lo < 0) return std::nullopt;
                text += static_cast<char>(hi * 16 + lo);
                pos_ += 3;
            } else {
                text += static_cast<char>(c);
                ++pos_;
            }
        }
        return std::nullopt;  // no closing quote
    }

private:
    void SkipBlanks() {
        while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
    }

    std::string_view line_;
    size_t pos_ = 0;
};

std::optional<int32_t> ParseInteger(std::string_view word) {
    int32_t value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

// Parses one value line ("str"/"int"/"bin" already read); empty when it does not parse.
std::optional<RegistryValue> ParseValue(std::string_view kind, LineReader& reader) {
    auto name = reader.Quoted();
    if (!name) return std::nullopt;
    RegistryValue value{*name, std::string()};
    if (kind == "str") {
        auto text = reader.Quoted();
        if (!text) return std::nullopt;
        value.data = std::move(*text);
    } else if (kind == "int") {
        auto word = reader.Word();
        auto number = word ? ParseInteger(*word) : std::nullopt;
        if (!number) return std::nullopt;
        value.data = *number;
    } else if (kind == "bin") {
        auto hex = reader.Quoted();
        auto bytes = hex ? ParseHex(*hex) : std::nullopt;
        if (!bytes) return std::nullopt;
        value.data = std::move(*bytes);
    } else {
        return std::nullopt;
    }
    if (!reader.AtEnd()) return std::nullopt;
    return value;
}

}  // namespace

std::string FormatHive(const RegistryHive& hive) {
    std::string out;
    out += kHeaderLine;
    out += '\n';
    RegKeyPath path;
    AppendKey(out, hive.Root(), path);
    out += kEndLine;
    out += '\n';
    return out;
}

std::optional<RegistryHive> ParseHive(std::string_view text, std::string* error) {
    auto fail = [error](size_t lineNo, const char* why) -> std::optional<RegistryHive> {
        if (error) *error = "line " + std::to_string(lineNo) + ": " + why;
        return std::nullopt;
    };
    RegistryHive hive;
    RegistryKeyNode* current = nullptr;
    bool headerSeen = false, endSeen = false;
    size_t lineNo = 0, start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // edited on another system
        if (!headerSeen) {
            if (line != kHeaderLine) return fail(lineNo, "not a registry hive");
            headerSeen = true;
            continue;
        }
        LineReader reader(line);
        if (reader.AtEnd() || line.find_first_not_of(" \t") == line.find('#')) continue;
        if (endSeen) return fail(lineNo, "text after the end line");
        auto kind = reader.Word();
        if (*kind == kEndLine) {
            if (!reader.AtEnd()) return fail(lineNo, "text after the end line");
            endSeen = true;
        } else if (*kind == "key") {
            auto path = reader.Quoted();
            if (!path || !reader.AtEnd()) return fail(lineNo, "bad key line");
            current = &hive.Create(SplitKeyPath(*path));
        } else {
            if (!current) return fail(lineNo, "value outside a key");
            auto value = ParseValue(*kind, reader);
            if (!value) return fail(lineNo, "bad value line");
            current->SetValue(std::move(*value));
        }
    }
    if (!headerSeen) return fail(1, "not a registry hive");
    if (!endSeen) return fail(lineNo, "no end line (cut short)");
    return hive;
}

}  // namespace platform
