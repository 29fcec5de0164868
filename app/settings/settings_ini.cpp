#include "app/settings/settings_ini.h"

#include <limits>
#include <variant>

#include "app/settings/counters.h"
#include "app/settings/settings_store.h"

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

using TField = std::variant<std::string TSettings::*, bool TSettings::*, int32_t TSettings::*, uint8_t TSettings::*>;

struct TIniKey {
    const char* Section;
    const char* Key;
    TField Field;
    int32_t Min = kAnyInt;  // numbers outside Min .. Max read the default
    int32_t Max = kMaxInt;
};

// Every key, in the order the file is written.
const TIniKey kIniKeys[] = {
    {kIniSectionGeneral, "LogDir", &TSettings::LogDir},
    {kIniSectionGeneral, "LogError", &TSettings::LogError},
    {kIniSectionGeneral, "LogWarning", &TSettings::LogWarning},
    {kIniSectionGeneral, "LogInfo", &TSettings::LogInfo},
    {kIniSectionGeneral, "ShowLog", &TSettings::ShowLog},
    {kIniSectionGeneral, "SnmpActive", &TSettings::SnmpActive},
    {kIniSectionHttp, "Port", &TSettings::Port, 1, kMaxTcpPort},
    {kIniSectionHttp, "Ip", &TSettings::Ip},
    {kIniSectionHttp, "AutoStart", &TSettings::AutoStart},
    {kIniSectionHttp, "Root", &TSettings::Root},
    {kIniSectionHls, "SegLen", &TSettings::SegLen, 1, kMaxSegmentSeconds},
    {kIniSectionHls, "NumSeg", &TSettings::NumSeg, 1, kMaxSegments},
    {kIniSectionGeneral, "CenterApp", &TSettings::CenterApp},
    {kIniSectionGeneral, "DirPrfxIdx", &TSettings::DirPrfxIdx},
    {kIniSectionGeneral, "NotifyIcon", &TSettings::NotifyIcon},
    {kIniSectionGeneral, "FtpErrThr", &TSettings::FtpErrThr, 0, kMaxInt},
    {kIniSectionGeneral, "FtpDelay", &TSettings::FtpDelay, 0, kMaxFtpDelaySeconds},
    {kIniSectionGeneral, "HtmlDir", &TSettings::HtmlDir},
    {kIniSectionGeneral, "ArchiveDir", &TSettings::ArchiveDir},
    {kIniSectionGeneral, "ArchiveLimit", &TSettings::ArchiveLimit, kArchiveNoPruning, kArchivePruneByCount},
    {kIniSectionGeneral, "ArchiveFile", &TSettings::ArchiveFile, 0, kMaxInt},
    {kIniSectionGeneral, "ArchiveSize", &TSettings::ArchiveSize, 0, kMaxInt},
    {kIniSectionGeneral, "VlcVer", &TSettings::VlcVer},
    {kIniSectionGeneral, "PngComp", &TSettings::PngComp, 0, kMaxPngLevel},
    {kIniSectionGeneral, "JpgComp", &TSettings::JpgComp, 1, kMaxJpegQuality},
    {kIniSectionGeneral, "BmpConvAct", &TSettings::BmpConvAct},
    {kIniSectionGeneral, "Bmp2Jpg", &TSettings::Bmp2Jpg},
    {kIniSectionGeneral, "Bmp2Png", &TSettings::Bmp2Png},
    {kIniSectionGeneral, "Svg2Png", &TSettings::Svg2Png},
    {kIniSectionGeneral, "JavaDir", &TSettings::JavaDir},
    {kIniSectionGeneral, "BatikDir", &TSettings::BatikDir},
    {kIniSectionGeneral, "DeactScreenSaver", &TSettings::DeactScreenSaver},
    {kIniSectionGeneral, "DefFps", &TSettings::DefFps, 1, kMaxFps},
    {kIniSectionGeneral, "MinDiskSpace", &TSettings::MinDiskSpace, 0, kMaxInt},
    {kIniSectionGeneral, "AskForDownload", &TSettings::AskForDownload},
};

int32_t ReadRanged(const TIniFile& ini, const TIniKey& k, int32_t def) {
    int32_t value = ini.ReadInteger(k.Section, k.Key, def);
    return value < k.Min || value > k.Max ? def : value;
}

}  // namespace

TSettings ReadSettings(const TIniFile& ini, const TAppPaths& paths) {
    TSettings s = DefaultSettings(paths);
    for (const TIniKey& k : kIniKeys) {
        if (auto* text = std::get_if<std::string TSettings::*>(&k.Field)) {
            s.*(*text) = ini.ReadString(k.Section, k.Key, s.*(*text));
        } else if (auto* flag = std::get_if<bool TSettings::*>(&k.Field)) {
            s.*(*flag) = ini.ReadBool(k.Section, k.Key, s.*(*flag));
        } else if (auto* number = std::get_if<int32_t TSettings::*>(&k.Field)) {
            s.*(*number) = ReadRanged(ini, k, s.*(*number));
        } else if (auto* byte = std::get_if<uint8_t TSettings::*>(&k.Field)) {
            // Stored in one byte: only the low byte of the number read counts.
            int32_t low = ini.ReadInteger(k.Section, k.Key, s.*(*byte)) & 0xFF;
            s.*(*byte) = static_cast<uint8_t>(low < k.Min || low > k.Max ? s.*(*byte) : low);
        }
    }
    if (s.VlcVer.empty()) s.VlcVer = kDefaultVlcVer;
    return s;
}

void WriteSettings(TIniFile& ini, const TSettings& s) {
    for (const TIniKey& k : kIniKeys) {
        if (auto* text = std::get_if<std::string TSettings::*>(&k.Field))
            ini.WriteString(k.Section, k.Key, s.*(*text));
        else if (auto* flag = std::get_if<bool TSettings::*>(&k.Field))
            ini.WriteBool(k.Section, k.Key, s.*(*flag));
        else if (auto* number = std::get_if<int32_t TSettings::*>(&k.Field))
            ini.WriteInteger(k.Section, k.Key, s.*(*number));
        else if (auto* byte = std::get_if<uint8_t TSettings::*>(&k.Field))
            ini.WriteInteger(k.Section, k.Key, s.*(*byte));
    }
}

void LoadIniFile() {
    auto paths = AppPaths();
    PublishSettings(ReadSettings(TIniFile(paths->IniFileName), *paths));
    ResetInternalPort();
}

bool SaveIniFile(std::string* error) {
    auto paths = AppPaths();
    TIniFile ini(paths->IniFileName);  // keys this program does not know stay in the file
    WriteSettings(ini, *Settings());
    return ini.Save(paths->IniFileName, error);
}

}  // namespace app
