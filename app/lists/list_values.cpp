#include "app/lists/list_values.h"

#include <limits>

#include "engine/util/xml_value_text.h"

namespace app {

std::optional<std::string> TListEntryReader::Text(const char* name) const {
    const pugi::xml_node child = entry_.child(name);
    if (!child) return std::nullopt;
    return std::string(child.text().get());
}

std::optional<int64_t> TListEntryReader::Integer(const char* name) const {
    const auto text = Text(name);
    return text ? engine::ParseXmlInteger(*text) : std::nullopt;
}

bool TListEntryReader::ReadText(const char* name, std::string& value) const {
    auto text = Text(name);
    if (!text) return false;
    value = std::move(*text);
    return true;
}

bool TListEntryReader::ReadBool(const char* name, bool& value) const {
    const auto text = Text(name);
    const auto parsed = text ? engine::ParseXmlBool(*text) : std::nullopt;
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
