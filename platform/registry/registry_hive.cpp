#include "platform/registry/registry_hive.h"

#include "platform/util/ascii_case.h"

#include <utility>

namespace platform {

RegKeyPath SplitKeyPath(std::string_view path) {
    RegKeyPath names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string JoinKeyPath(const RegKeyPath& path) {
    std::string text;
    for (const auto& name : path) {
        if (!text.empty()) text += '\\';
        text += name;
    }
    return text;
}

RegValueType RegistryValue::Type() const {
    switch (data.index()) {
        case 0: return RegValueType::String;
        case 1: return RegValueType::Integer;
        default: return RegValueType::Binary;
    }
}

const RegistryKeyNode* RegistryKeyNode::SubKey(std::string_view name) const {
    auto it = subKeys.find(AsciiLower(name));
    return it == subKeys.end() ? nullptr : it->second.get();
}

const RegistryValue* RegistryKeyNode::Value(std::string_view name) const {
    auto it = values.find(AsciiLower(name));
    return it == values.end() ? nullptr : &it->second;
}

void RegistryKeyNode::SetValue(RegistryValue value) {
    auto [it, inserted] = values.try_emplace(AsciiLower(value.name), value);
    // An existing value keeps the case of its name, as a key does.
    if (!inserted) it->second.data = std::move(value.data);
}

bool RegistryKeyNode::EraseValue(std::string_view name) { return values.erase(AsciiLower(name)) > 0; }

RegistryHive::RegistryHive() : root_(std::make_unique<RegistryKeyNode>()) {}

const RegistryKeyNode* RegistryHive::Find(const RegKeyPath& path) const {
    const RegistryKeyNode* node = root_.get();
    for (const auto& name : path) {
        node = node->SubKey(name);
        if (!node) return nullptr;
    }
    return node;
}

RegistryKeyNode* RegistryHive::Find(const RegKeyPath& path) {
    return const_cast<RegistryKeyNode*>(std::as_const(*this).Find(path));
}

RegistryKeyNode& RegistryHive::Create(const RegKeyPath& path) {
    RegistryKeyNode* node = root_.get();
    for (const auto& name : path) {
        auto& slot = node->subKeys[AsciiLower(name)];
        if (!slot) {
            slot = std::make_unique<RegistryKeyNode>();
            slot->name = name;
        }
        node = slot.get();
    }
    return *node;
}

bool RegistryHive::Delete(const RegKeyPath& path) {
    if (path.empty()) return false;
    RegKeyPath parentPath(path.begin(), path.end() - 1);
    RegistryKeyNode* parent = Find(parentPath);
    return parent && parent->subKeys.erase(AsciiLower(path.back())) > 0;
}

}  // namespace platform
