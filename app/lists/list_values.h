// The values of the list files (capture.xml, httpserv.xml, wsocket.xml): one child element per field,
// its text the value, read as engine/util/xml_value_text.h says. Booleans are written "True" / "False",
// integers decimal. A missing child or a text that does not convert leaves the field as it was.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace app {

class TListEntryReader {
public:
    explicit TListEntryReader(pugi::xml_node entry) : entry_(entry) {}

    // The child's text as it stands; empty when there is no such child.
    std::optional<std::string> Text(const char* name) const;
    std::optional<int64_t> Integer(const char* name) const;
    // Each answers whether the field was replaced.
    bool ReadText(const char* name, std::string& value) const;
    bool ReadBool(const char* name, bool& value) const;
    // Values outside the 32-bit range leave the field as it was.
    bool ReadInt(const char* name, int32_t& value) const;
    // An address is the signed 32-bit value; its unsigned spelling is taken too.
    bool ReadAddress(const char* name, int32_t& value) const;

private:
    pugi::xml_node entry_;
};

class TListEntryWriter {
public:
    explicit TListEntryWriter(pugi::xml_node entry) : entry_(entry) {}
    void Text(const char* name, const std::string& value);
    void Bool(const char* name, bool value);
    void Int(const char* name, int64_t value);

private:
    pugi::xml_node entry_;
};

}  // namespace app
