// One hive in memory: a tree of keys, each with named values of three types. Names compare without
// regard to (ASCII) case and keep the case they were created with; children are kept in the order of
// their folded names, which is the order enumeration reports. No I/O here: RegistryHiveFile loads and
// stores hives, RegistryHiveText turns them into text and back.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/registry/registry.h"

namespace platform {

// A key path as its names, root first; the root itself is the empty path.
using RegKeyPath = std::vector<std::string>;

// Splits "A\B\C" (a leading, trailing or doubled "\" adds no empty name).
RegKeyPath SplitKeyPath(std::string_view path);
std::string JoinKeyPath(const RegKeyPath& path);

struct RegistryValue {
    std::string name;  // as created
    std::variant<std::string, int32_t, std::vector<uint8_t>> data;

    RegValueType Type() const;
};

struct RegistryKeyNode {
    std::string name;  // as created; empty for the root
    std::map<std::string, std::unique_ptr<RegistryKeyNode>> subKeys;  // by folded name
    std::map<std::string, RegistryValue> values;                      // by folded name

    const RegistryKeyNode* SubKey(std::string_view name) const;
    const RegistryValue* Value(std::string_view name) const;
    void SetValue(RegistryValue value);
    bool EraseValue(std::string_view name);
};

class RegistryHive {
public:
    RegistryHive();

    const RegistryKeyNode& Root() const { return *root_; }
    const RegistryKeyNode* Find(const RegKeyPath& path) const;
    RegistryKeyNode* Find(const RegKeyPath& path);
    // Finds the key, creating it and its missing parents.
    RegistryKeyNode& Create(const RegKeyPath& path);
    // Removes the key with everything below it; false when it does not exist or is the root.
    bool Delete(const RegKeyPath& path);

private:
    std::unique_ptr<RegistryKeyNode> root_;
};

}  // namespace platform
