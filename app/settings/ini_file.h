// A profile file (framewick.ini, splash.ini): "[Section]" lines and "Key=Value" lines below them.
// Sections and keys are found without regard to case; the first of duplicate keys wins. Reading is
// forgiving: a missing file is empty, lines that are neither a section nor a key are kept as they
// stand, text where a number belongs reads the default. Writing changes only the keys written and
// leaves every other line alone; Save replaces the file atomically (temporary name, rename) and leaves
// a read-only file alone (engine::WriteUserFileAtomic).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace app {

// Longest value read; longer values are cut (the original profile functions' 2047-character buffer).
constexpr size_t kMaxIniValueLength = 2047;

class TIniFile {
public:
    TIniFile() = default;
    // Reads fileName; a missing or unreadable file gives an empty profile.
    explicit TIniFile(const std::string& fileName);

    const std::string& FileName() const { return fileName_; }

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal, or hexadecimal after "0x" or "$"; empty, non-numeric or outside 32 bits: def.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    // Read as an integer; any non-zero value is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // The profile as file text.
    std::string Text() const;
    // Writes the profile to fileName (FileName() when empty); false with *error when it cannot be written.
    bool Save(const std::string& fileName = "", std::string* error = nullptr) const;

    // Parses a number the way ReadInteger does.
    static std::optional<int32_t> ParseInteger(const std::string& text);

private:
    struct TLine {
        std::string Key;    // empty for a line that is not a key
        std::string Value;
        std::string Raw;    // the line as read, for lines that are not keys
    };
    struct TSection {
        std::string Name;  // empty for the lines before the first section
        std::vector<TLine> Lines;
    };

    void Parse(const std::string& text);
    const TSection* FindSection(const std::string& name) const;
    const TLine* FindLine(const std::string& section, const std::string& key) const;
    TSection* FindSection(const std::string& name) {
        return const_cast<TSection*>(std::as_const(*this).FindSection(name));
    }
    TLine* FindLine(const std::string& section, const std::string& key) {
        return const_cast<TLine*>(std::as_const(*this).FindLine(section, key));
    }

    std::string fileName_;
    std::vector<TSection> sections_;
};

}  // namespace app
