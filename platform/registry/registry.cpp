#include "platform/registry/registry.h"

#include <cstdlib>
#include <map>

#include "platform/registry/registry_hive.h"
#include "platform/registry/registry_hive_file.h"

namespace platform {

namespace {

constexpr const char* kUserFolderVariable = "FRAMEWICK_REGISTRY_HKCU";
constexpr const char* kMachineFolderVariable = "FRAMEWICK_REGISTRY_HKLM";
constexpr const char* kMachineFolder = "/var/lib/framewick/registry";
constexpr const char* kUserHiveFile = "user.reg";
constexpr const char* kMachineHiveFile = "machine.reg";
const RegKeyPath kClassesPrefix = {"Software", "Classes"};

std::string EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : std::string();
}

// One hive as seen from a root: its file and the key that stands for the root inside it.
struct HiveView {
    RegistryHiveFile file;
    RegKeyPath prefix;

    RegKeyPath Resolve(const RegKeyPath& path) const {
        RegKeyPath full = prefix;
        full.insert(full.end(), path.begin(), path.end());
        return full;
    }
};

HiveView UserView(RegKeyPath prefix = {}) {
    return {RegistryHiveFile(RegistryHiveFolder(RootKey::CurrentUser), kUserHiveFile), std::move(prefix)};
}

HiveView MachineView(RegKeyPath prefix = {}) {
    return {RegistryHiveFile(RegistryHiveFolder(RootKey::LocalMachine), kMachineHiveFile), std::move(prefix)};
}

// The hives a root reads, in the order they are asked.
std::vector<HiveView> ReadViews(RootKey root) {
    switch (root) {
        case RootKey::CurrentUser: return {UserView()};
        case RootKey::LocalMachine: return {MachineView()};
        case RootKey::ClassesRoot: return {UserView(kClassesPrefix), MachineView(kClassesPrefix)};
    }
    return {};
}

// The hive a root writes to.
HiveView WriteView(RootKey root) {
    switch (root) {
        case RootKey::CurrentUser: return UserView();
        case RootKey::LocalMachine: return MachineView();
        case RootKey::ClassesRoot: return UserView(kClassesPrefix);
    }
    return UserView();
}

// Calls visit with the key at path in every hive of the root that has it, first hive first; stops when
// visit answers true.
template <class Visit>
void VisitKeys(RootKey root, const RegKeyPath& path, Visit visit) {
    for (const HiveView& view : ReadViews(root)) {
        RegistryHive hive;
        if (view.file.Load(hive) != RegistryHiveFile::State::Loaded) continue;
        if (const RegistryKeyNode* node = hive.Find(view.Resolve(path)))
            if (visit(*node)) return;
    }
}

// The first value of that name found among the hives of the root.
std::optional<RegistryValue> FindValue(RootKey root, const RegKeyPath& path, std::string_view name) {
    std::optional<RegistryValue> found;
    VisitKeys(root, path, [&](const RegistryKeyNode& node) {
        if (const RegistryValue* value = node.Value(name)) found = *value;
        return found.has_value();
    });
    return found;
}

template <class T>
std::optional<T> ValueAs(const std::optional<RegistryValue>& value) {
    if (!value) return std::nullopt;
    if (const T* data = std::get_if<T>(&value->data)) return *data;
    return std::nullopt;
}

// Every write stores the value in the open key of the root's writing hive, making the key there when
// it is missing (a key of HKEY_CLASSES_ROOT seen only in the machine's hive, or one deleted meanwhile).
bool StoreValue(RootKey root, const std::string& keyPath, RegistryValue value) {
    HiveView view = WriteView(root);
    RegKeyPath full = view.Resolve(SplitKeyPath(keyPath));
    return view.file.Modify([&](RegistryHive& hive) {
        hive.Create(full).SetValue(std::move(value));
        return true;
    });
}

// Names of the sub-keys or values (as chosen by list) of the key in every hive of the root, sorted by
// their folded form; a name in several hives keeps the case of the first.
template <class List>
std::vector<std::string> CollectNames(RootKey root, const std::string& keyPath, List list) {
    std::map<std::string, std::string> names;
    VisitKeys(root, SplitKeyPath(keyPath), [&](const RegistryKeyNode& node) {
        list(node, names);
        return false;
    });
    std::vector<std::string> result;
    for (auto& [folded, name] : names) result.push_back(std::move(name));
    return result;
}

}  // namespace

std::string RegistryHiveFolder(RootKey root) {
    if (root == RootKey::LocalMachine) {
        std::string folder = EnvFolder(kMachineFolderVariable);
        return folder.empty() ? kMachineFolder : folder;
    }
    std::string folder = EnvFolder(kUserFolderVariable);
    if (!folder.empty()) return folder;
    std::string config = EnvFolder("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') config = EnvFolder("HOME") + "/.config";
    return config + "/framewick/registry";
}

TRegistry::TRegistry(RootKey root) : root_(root) {}

void TRegistry::SetRootKey(RootKey root) {
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(std::string_view path, bool canCreate) {
    CloseKey();
    RegKeyPath names = SplitKeyPath(path);
    if (!KeyExists(path)) {
        if (!canCreate) return false;
        HiveView view = WriteView(root_);
        RegKeyPath full = view.Resolve(names);
        bool created = view.file.Modify([&](RegistryHive& hive) {
            if (hive.Find(full)) return false;  // made meanwhile by another writer: nothing to store
            hive.Create(full);
            return true;
        });
        if (!created && !KeyExists(path)) return false;
    }
    open_ = true;
    readOnly_ = false;
    path_ = JoinKeyPath(names);
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view path) {
    CloseKey();
    if (!KeyExists(path)) return false;
    open_ = true;
    readOnly_ = true;
    path_ = JoinKeyPath(SplitKeyPath(path));
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    readOnly_ = false;
    path_.clear();
}

bool TRegistry::KeyExists(std::string_view path) const {
    bool found = false;
    VisitKeys(root_, SplitKeyPath(path), [&](const RegistryKeyNode&) { return found = true; });
    return found;
}

bool TRegistry::DeleteKey(std::string_view path) {
    RegKeyPath names = SplitKeyPath(path);
    if (names.empty()) return false;  // the root stays
    HiveView view = WriteView(root_);
    RegKeyPath full = view.Resolve(names);
    return view.file.Modify([&](RegistryHive& hive) { return hive.Delete(full); });
}

bool TRegistry::ValueExists(std::string_view name) const { return GetValueType(name).has_value(); }

std::optional<RegValueType> TRegistry::GetValueType(std::string_view name) const {
    if (!open_) return std::nullopt;
    auto value = FindValue(root_, SplitKeyPath(path_), name);
    if (!value) return std::nullopt;
    return value->Type();
}

std::optional<std::string> TRegistry::ReadString(std::string_view name) const {
    if (!open_) return std::nullopt;
    return ValueAs<std::string>(FindValue(root_, SplitKeyPath(path_), name));
}

std::optional<int32_t> TRegistry::ReadInteger(std::string_view name) const {
    if (!open_) return std::nullopt;
    return ValueAs<int32_t>(FindValue(root_, SplitKeyPath(path_), name));
}

std::optional<bool> TRegistry::ReadBool(std::string_view name) const {
    auto value = ReadInteger(name);
    if (!value) return std::nullopt;
    return *value != 0;
}

std::optional<std::vector<uint8_t>> TRegistry::ReadBinary(std::string_view name) const {
    if (!open_) return std::nullopt;
    return ValueAs<std::vector<uint8_t>>(FindValue(root_, SplitKeyPath(path_), name));
}

bool TRegistry::WriteString(std::string_view name, std::string_view value) {
    if (!open_ || readOnly_) return false;
    return StoreValue(root_, path_, {std::string(name), std::string(value)});
}

bool TRegistry::WriteInteger(std::string_view name, int32_t value) {
    if (!open_ || readOnly_) return false;
    return StoreValue(root_, path_, {std::string(name), value});
}

bool TRegistry::WriteBool(std::string_view name, bool value) { return WriteInteger(name, value ? 1 : 0); }

bool TRegistry::WriteBinary(std::string_view name, const std::vector<uint8_t>& value) {
    if (!open_ || readOnly_) return false;
    return StoreValue(root_, path_, {std::string(name), value});
}

bool TRegistry::DeleteValue(std::string_view name) {
    if (!open_ || readOnly_) return false;
    HiveView view = WriteView(root_);
    RegKeyPath full = view.Resolve(SplitKeyPath(path_));
    return view.file.Modify([&](RegistryHive& hive) {
        RegistryKeyNode* node = hive.Find(full);
        return node && node->EraseValue(name);
    });
}

std::vector<std::string> TRegistry::GetKeyNames() const {
    if (!open_) return {};
    return CollectNames(root_, path_, [](const RegistryKeyNode& node, auto& names) {
        for (const auto& [folded, child] : node.subKeys) names.try_emplace(folded, child->name);
    });
}

std::vector<std::string> TRegistry::GetValueNames() const {
    if (!open_) return {};
    return CollectNames(root_, path_, [](const RegistryKeyNode& node, auto& names) {
        for (const auto& [folded, value] : node.values) names.try_emplace(folded, value.name);
    });
}

}  // namespace platform
