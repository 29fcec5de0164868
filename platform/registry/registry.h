// The registry: hierarchical keys with typed values (string, 32-bit integer, binary), kept in one small
// text file per hive. HKEY_CURRENT_USER lives under $XDG_CONFIG_HOME, HKEY_LOCAL_MACHINE under a machine
// folder; FRAMEWICK_REGISTRY_HKCU / FRAMEWICK_REGISTRY_HKLM name other folders (tests use temp folders).
// HKEY_CLASSES_ROOT reads the current user's "Software\Classes" first, then the machine's, and writes
// to the current user's.
//
// Key paths use "\" between names (a leading "\" is ignored); key and value names compare without
// regard to case and keep the case they were created with. Every write is committed at once: the hive
// is locked against other processes, read again, changed, written to a temporary file and renamed over
// the old one, so a reader sees the old or the new content and never a half-written file. A damaged
// hive file reads as empty and is never overwritten by a partial write; readers never create keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RootKey { CurrentUser, LocalMachine, ClassesRoot };

enum class RegValueType { String, Integer, Binary };

// A registry object in the manner of the class library's: set the root, open a key, read or write
// values of the open key, close. Failures are results (false / empty), never exceptions.
class TRegistry {
public:
    explicit TRegistry(RootKey root = RootKey::CurrentUser);

    RootKey GetRootKey() const { return root_; }
    void SetRootKey(RootKey root);

    // Opens for reading and writing; creates the key (and its parents) when canCreate is true.
    bool OpenKey(std::string_view path, bool canCreate);
    // Opens an existing key for reading only; writes through it fail.
    bool OpenKeyReadOnly(std::string_view path);
    void CloseKey();
    bool HasOpenKey() const { return open_; }
    const std::string& CurrentPath() const { return path_; }

    // Paths below the root (not relative to the open key).
    bool KeyExists(std::string_view path) const;
    bool DeleteKey(std::string_view path);  // with every sub-key and value

    // Values of the open key.
    bool ValueExists(std::string_view name) const;
    std::optional<RegValueType> GetValueType(std::string_view name) const;
    // A value of another type than asked for reads as missing.
    std::optional<std::string> ReadString(std::string_view name) const;
    std::optional<int32_t> ReadInteger(std::string_view name) const;
    std::optional<bool> ReadBool(std::string_view name) const;  // any non-zero integer is true
    std::optional<std::vector<uint8_t>> ReadBinary(std::string_view name) const;
    bool WriteString(std::string_view name, std::string_view value);
    bool WriteInteger(std::string_view name, int32_t value);
    bool WriteBool(std::string_view name, bool value);
    bool WriteBinary(std::string_view name, const std::vector<uint8_t>& value);
    bool DeleteValue(std::string_view name);
    // The default value of a key is the value with the empty name.

    std::vector<std::string> GetKeyNames() const;    // sub-keys of the open key, sorted
    std::vector<std::string> GetValueNames() const;  // values of the open key, sorted

private:
    RootKey root_;
    bool open_ = false;
    bool readOnly_ = false;
    std::string path_;  // normalised, without leading "\"
};

// The folder that holds a hive's file (created on first write).
std::string RegistryHiveFolder(RootKey root);

}  // namespace platform
