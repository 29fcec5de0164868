#include "app/settings/settings_ini.h"
#include "app/settings/default_settings.h"

#include <limits>
#include <variant>

#include "engine/settings/counters.h"
#include "engine/settings/settings_store.h"

namespace app {

namespace {

constexpr int32_t kAnyInt = std::numeric_limits<int32_t>::min();
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMaxTcpPort = 65535;
constexpr int32_t kMaxSegmentSeconds = 3600;
constexpr int32_t kMaxSegments = 1000;
constexpr int32_t kMaxFtpDelaySeconds = 86400;
constexpr int32_t kMaxPngLevel = 9;
constexpr int32_t kMaxJpegQuality = 100;
constexpr int32_t kMaxFps = 1000;

using TField = std::variant<std::string engine::TSettings::*, bool engine::TSettings::*, int32_t engine::TSettings::*, uint8_t engine::TSettings::*>;

struct TIniKey {
    const char* Section;
    const char* Key;
    TField Field;
    int32_t Min = kAnyInt;  // numbers outside Min .. Max read the default
    int32_t Max = kMaxInt;
};

// Every key, in the order the file is written.
const TIniKey kIniKeys[] = {
    {kIniSectionGeneral, "LogDir", &engine::TSettings::LogDir},
    {kIniSectionGeneral, "LogError", &engine::TSettings::LogError},
    {kIniSectionGeneral, "LogWarning", &engine::TSettings::LogWarning},
    {kIniSectionGeneral, "LogInfo", &engine::TSettings::LogInfo},
    {kIniSectionGeneral, "ShowLog", &engine::TSettings::ShowLog},
    {kIniSectionGeneral, "SnmpActive", &engine::TSettings::SnmpActive},
    {kIniSectionHttp, "Port", &engine::TSettings::Port, 1, kMaxTcpPort},
    {kIniSectionHttp, "Ip", &engine::TSettings::Ip},
    {kIniSectionHttp, "AutoStart", &engine::TSettings::AutoStart},
    {kIniSectionHttp, "Root", &engine::TSettings::Root},
    {kIniSectionHls, "SegLen", &engine::TSettings::SegLen, 1, kMaxSegmentSeconds},
    {kIniSectionHls, "NumSeg", &engine::TSettings::NumSeg, 1, kMaxSegments},
    {kIniSectionGeneral, "CenterApp", &engine::TSettings::CenterApp},
    {kIniSectionGeneral, "DirPrfxIdx", &engine::TSettings::DirPrfxIdx},
    {kIniSectionGeneral, "NotifyIcon", &engine::TSettings::NotifyIcon},
    {kIniSectionGeneral, "FtpErrThr", &engine::TSettings::FtpErrThr, 0, kMaxInt},
    {kIniSectionGeneral, "FtpDelay", &engine::TSettings::FtpDelay, 0, kMaxFtpDelaySeconds},
    {kIniSectionGeneral, "HtmlDir", &engine::TSettings::HtmlDir},
    {kIniSectionGeneral, "ArchiveDir", &engine::TSettings::ArchiveDir},
    {kIniSectionGeneral, "ArchiveLimit", &engine::TSettings::ArchiveLimit, engine::kArchiveNoPruning, engine::kArchivePruneByCount},
    {kIniSectionGeneral, "ArchiveFile", &engine::TSettings::ArchiveFile, 0, kMaxInt},
    {kIniSectionGeneral, "ArchiveSize", &engine::TSettings::ArchiveSize, 0, kMaxInt},
    {kIniSectionGeneral, "VlcVer", &engine::TSettings::VlcVer},
    {kIniSectionGeneral, "PngComp", &engine::TSettings::PngComp, 0, kMaxPngLevel},
    {kIniSectionGeneral, "JpgComp", &engine::TSettings::JpgComp, 1, kMaxJpegQuality},
    {kIniSectionGeneral, "BmpConvAct", &engine::TSettings::BmpConvAct},
    {kIniSectionGeneral, "Bmp2Jpg", &engine::TSettings::Bmp2Jpg},
    {kIniSectionGeneral, "Bmp2Png", &engine::TSettings::Bmp2Png},
    {kIniSectionGeneral, "Svg2Png", &engine::TSettings::Svg2Png},
    {kIniSectionGeneral, "JavaDir", &engine::TSettings::JavaDir},
    {kIniSectionGeneral, "BatikDir", &engine::TSettings::BatikDir},
    {kIniSectionGeneral, "DeactScreenSaver", &engine::TSettings::DeactScreenSaver},
    {kIniSectionGeneral, "DefFps", &engine::TSettings::DefFps, 1, kMaxFps},
    {kIniSectionGeneral, "MinDiskSpace", &engine::TSettings::MinDiskSpace, 0, kMaxInt},
    {kIniSectionGeneral, "AskForDownload", &engine::TSettings::AskForDownload},
};

int32_t ReadRanged(const TIniFile& ini, const TIniKey& k, int32_t def) {
    int32_t value = ini.ReadInteger(k.Section, k.Key, def);
    return value < k.Min || value > k.Max ? def : value;
}

}  // namespace

engine::TSettings ReadSettings(const TIniFile& ini, const TAppPaths& paths) {
    engine::TSettings s = DefaultSettings(paths);
    for (const TIniKey& k : kIniKeys) {
        if (auto* text = std::get_if<std::string engine::TSettings::*>(&k.Field)) {
            s.*(*text) = ini.ReadString(k.Section, k.Key, s.*(*text));
        } else if (auto* flag = std::get_if<bool engine::TSettings::*>(&k.Field)) {
            s.*(*flag) = ini.ReadBool(k.Section, k.Key, s.*(*flag));
        } else if (auto* number = std::get_if<int32_t engine::TSettings::*>(&k.Field)) {
            s.*(*number) = ReadRanged(ini, k, s.*(*number));
        } else if (auto* byte = std::get_if<uint8_t engine::TSettings::*>(&k.Field)) {
            // Stored in one byte: only the low byte of the number read counts.
            int32_t low = ini.ReadInteger(k.Section, k.Key, s.*(*byte)) & 0xFF;
            s.*(*byte) = static_cast<uint8_t>(low < k.Min || low > k.Max ? s.*(*byte) : low);
        }
    }
    if (s.VlcVer.empty()) s.VlcVer = engine::kDefaultVlcVer;
    return s;
}

void WriteSettings(TIniFile& ini, const engine::TSettings& s) {
    for (const TIniKey& k : kIniKeys) {
        if (auto* text = std::get_if<std::string engine::TSettings::*>(&k.Field))
            ini.WriteString(k.Section, k.Key, s.*(*text));
        else if (auto* flag = std::get_if<bool engine::TSettings::*>(&k.Field))
            ini.WriteBool(k.Section, k.Key, s.*(*flag));
        else if (auto* number = std::get_if<int32_t engine::TSettings::*>(&k.Field))
            ini.WriteInteger(k.Section, k.Key, s.*(*number));
        else if (auto* byte = std::get_if<uint8_t engine::TSettings::*>(&k.Field))
            ini.WriteInteger(k.Section, k.Key, s.*(*byte));
    }
}

void LoadIniFile() {
    auto paths = AppPaths();
    engine::PublishSettings(ReadSettings(TIniFile(paths->IniFileName), *paths));
    engine::ResetInternalPort();
}

bool SaveIniFile(std::string* error) {
    auto paths = AppPaths();
    TIniFile ini(paths->IniFileName);  // keys this program does not know stay in the file
    WriteSettings(ini, *engine::Settings());
    return ini.Save(paths->IniFileName, error);
}

}  // namespace app
