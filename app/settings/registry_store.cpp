#include "app/settings/registry_store.h"

#include <mutex>

#include "app/settings/app_globals.h"
#include "common/version_info.h"
#include "engine/util/monitors.h"
#include "engine/util/path_utils.h"
#include "platform/registry/registry.h"

namespace app {

namespace {

constexpr const char* kProductKeyRoot = "SOFTWARE\\Quillmar\\Framewick\\v";

// The program file's name, without ".exe" where a file carries it.
std::string ExeName() {
    std::string name = engine::ExtractFileName(engine::ProgramFilePath());
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
    return name;
}

struct TCachedKeys {
    std::string Exe;
    std::string Instance;
};

const TCachedKeys& Keys() {
    static const TCachedKeys keys = [] {
        const std::string major = GetMajorVersion();
        const std::string exe = ExeName();
        return TCachedKeys{MakeExeRegKey(major, exe), MakeInstanceRegKey(major, exe, InstanceIndex.load())};
    }();
    return keys;
}

// Opens key for reading (never creating it); false when the key is empty or missing.
bool OpenForReading(platform::TRegistry& reg, const std::string& key) {
    return !key.empty() && reg.OpenKeyReadOnly(key);
}

// Opens key for writing, creating it; false when the key is empty or cannot be opened.
bool OpenForWriting(platform::TRegistry& reg, const std::string& key) { return !key.empty() && reg.OpenKey(key, true); }

}  // namespace

std::string MakeExeRegKey(const std::string& major, const std::string& exeName) {
    if (major.empty() || exeName.empty()) return std::string();
    return kProductKeyRoot + major + "\\" + exeName;
}

std::string MakeInstanceRegKey(const std::string& major, const std::string& exeName, int instance) {
    std::string exeKey = MakeExeRegKey(major, exeName);
    return exeKey.empty() ? exeKey : exeKey + "\\Inst" + std::to_string(instance);
}

std::string InstanceRegKey() { return Keys().Instance; }
std::string ExeRegKey() { return Keys().Exe; }

std::string RegReadExeString(const std::string& name, const std::string& def) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForReading(reg, ExeRegKey())) return def;
    return reg.ReadString(name).value_or(def);
}

void RegWriteExeString(const std::string& name, const std::string& value) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (OpenForWriting(reg, ExeRegKey())) reg.WriteString(name, value);
}

int32_t RegReadInstInteger(const std::string& name, int32_t def) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForReading(reg, InstanceRegKey())) return def;
    return reg.ReadInteger(name).value_or(def);
}

bool RegReadInstBool(const std::string& name, bool def) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForReading(reg, InstanceRegKey())) return def;
    return reg.ReadBool(name).value_or(def);
}

void RegWriteInstInteger(const std::string& name, int32_t value) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (OpenForWriting(reg, InstanceRegKey())) reg.WriteInteger(name, value);
}

void RegWriteInstBool(const std::string& name, bool value) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (OpenForWriting(reg, InstanceRegKey())) reg.WriteBool(name, value);
}

std::string ColumnWidthValueName(int column, const std::string& listName) {
    return "w_" + std::to_string(column) + "_" + listName;
}

bool ReadDpiDialog() {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForWriting(reg, InstanceRegKey())) return false;
    return reg.ReadBool("DpiDialog").value_or(false);
}

void WriteDpiDialog(bool value) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (OpenForWriting(reg, InstanceRegKey())) reg.WriteBool("DpiDialog", value);
}

void WriteFormOrigin(const std::string& name, int left, int top) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForWriting(reg, InstanceRegKey())) return;
    reg.WriteInteger("leftPos_" + name, left);
    reg.WriteInteger("topPos_" + name, top);
}

bool ReadFormOrigin(const std::string& name, int& left, int& top) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForReading(reg, InstanceRegKey())) return false;
    std::optional<int32_t> savedLeft = reg.ReadInteger("leftPos_" + name);
    std::optional<int32_t> savedTop = reg.ReadInteger("topPos_" + name);
    if (!savedLeft || !savedTop) return false;
    left = *savedLeft;
    top = *savedTop;
    const engine::TDesktopBounds desktop = engine::GetDesktopBounds();
    if (left < desktop.Left) left = 0;
    if (top < desktop.Top) top = 0;
    if (left >= desktop.Right) left = 0;
    if (top >= desktop.Bottom) top = 0;
    return true;
}

void WriteFormBounds(const std::string& name, const TFormBounds& bounds) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForWriting(reg, InstanceRegKey())) return;
    reg.WriteInteger("PosTop_" + name, bounds.Top);
    reg.WriteInteger("PosLeft_" + name, bounds.Left);
    reg.WriteInteger("DimWidth_" + name, bounds.Width);
    reg.WriteInteger("DimHeight_" + name, bounds.Height);
}

bool ReadFormBounds(const std::string& name, TFormBounds& bounds) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    if (!OpenForReading(reg, InstanceRegKey())) return false;
    const std::pair<const char*, int*> values[] = {
        {"PosTop_", &bounds.Top}, {"PosLeft_", &bounds.Left}, {"DimWidth_", &bounds.Width}, {"DimHeight_", &bounds.Height}};
    for (const auto& [prefix, field] : values) {
        std::optional<int32_t> v = reg.ReadInteger(prefix + name);
        if (!v) return false;
        *field = *v;
    }
    const engine::TDesktopBounds desktop = engine::GetDesktopBounds();
    if (bounds.Top < desktop.Top) bounds.Top = 0;
    if (bounds.Left < desktop.Left) bounds.Left = 0;
    if (bounds.Width < 0) bounds.Width = 0;
    if (bounds.Height < 0) bounds.Height = 0;
    if (std::optional<platform::TRect> work = engine::GetNearestMonitorWorkArea({bounds.Left, bounds.Top})) {
        if (bounds.Top + bounds.Height > work->Bottom) bounds.Top = work->Bottom - bounds.Height;
        if (bounds.Left + bounds.Width > work->Right) bounds.Left = work->Right - bounds.Width;
    }
    return true;
}

}  // namespace app
