#include "app/settings/settings_ini.h"
#include "app/settings/default_settings.h"

#include <chrono>
#include <limits>
#include <variant>

#include "engine/settings/counters.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"

namespace app {

namespace {

constexpr int32_t kAnyInt = std::numeric_limits<int32_t>::min();
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinTcpPort = 1;
constexpr int32_t kMaxTcpPort = 65535;
constexpr int32_t kMinSegmentSeconds = 1;
constexpr int32_t kMinSegments = 1;

using TField = std::variant<std::string engine::TSettings::*, bool engine::TSettings::*, int32_t engine::TSettings::*, uint8_t engine::TSettings::*>;

struct TIniKey {
    const char* Section;
    const char* Key;
    TField Field;
    // A number is taken as it stands, except where it would break what uses it; such a number is
    // logged (as an error: a setting the user wrote is not used, which must show even with warnings
    // switched off) and reads the default. Port: a web server on port 0 listens on a port nobody asked
    // for, above 65535 on another one. SegLen below 1: the HLS output cuts a segment at every frame
    // (a negative length wraps to years) and every FTP upload counts as too slow, so the capture
    // restarts over and over. NumSeg below 1: the HLS output never deletes a segment.
    int32_t Min = kAnyInt;
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
    {kIniSectionHttp, "Port", &engine::TSettings::Port, kMinTcpPort, kMaxTcpPort},
    {kIniSectionHttp, "Ip", &engine::TSettings::Ip},
    {kIniSectionHttp, "AutoStart", &engine::TSettings::AutoStart},
    {kIniSectionHttp, "Root", &engine::TSettings::Root},
    {kIniSectionHls, "SegLen", &engine::TSettings::SegLen, kMinSegmentSeconds},
    {kIniSectionHls, "NumSeg", &engine::TSettings::NumSeg, kMinSegments},
    {kIniSectionGeneral, "CenterApp", &engine::TSettings::CenterApp},
    {kIniSectionGeneral, "DirPrfxIdx", &engine::TSettings::DirPrfxIdx},
    {kIniSectionGeneral, "NotifyIcon", &engine::TSettings::NotifyIcon},
    {kIniSectionGeneral, "FtpErrThr", &engine::TSettings::FtpErrThr},
    {kIniSectionGeneral, "FtpDelay", &engine::TSettings::FtpDelay},
    {kIniSectionGeneral, "HtmlDir", &engine::TSettings::HtmlDir},
    {kIniSectionGeneral, "ArchiveDir", &engine::TSettings::ArchiveDir},
    {kIniSectionGeneral, "ArchiveLimit", &engine::TSettings::ArchiveLimit},
    {kIniSectionGeneral, "ArchiveFile", &engine::TSettings::ArchiveFile},
    {kIniSectionGeneral, "ArchiveSize", &engine::TSettings::ArchiveSize},
    {kIniSectionGeneral, "VlcVer", &engine::TSettings::VlcVer},
    {kIniSectionGeneral, "PngComp", &engine::TSettings::PngComp},
    {kIniSectionGeneral, "JpgComp", &engine::TSettings::JpgComp},
    {kIniSectionGeneral, "BmpConvAct", &engine::TSettings::BmpConvAct},
    {kIniSectionGeneral, "Bmp2Jpg", &engine::TSettings::Bmp2Jpg},
    {kIniSectionGeneral, "Bmp2Png", &engine::TSettings::Bmp2Png},
    {kIniSectionGeneral, "Svg2Png", &engine::TSettings::Svg2Png},
    {kIniSectionGeneral, "JavaDir", &engine::TSettings::JavaDir},
    {kIniSectionGeneral, "BatikDir", &engine::TSettings::BatikDir},
    {kIniSectionGeneral, "DeactScreenSaver", &engine::TSettings::DeactScreenSaver},
    {kIniSectionGeneral, "DefFps", &engine::TSettings::DefFps},
    {kIniSectionGeneral, "MinDiskSpace", &engine::TSettings::MinDiskSpace},
    {kIniSectionGeneral, "AskForDownload", &engine::TSettings::AskForDownload},
};

std::string RangeText(const TIniKey& k) {
    if (k.Max == kMaxInt) return "below " + std::to_string(k.Min);
    return "outside " + std::to_string(k.Min) + ".." + std::to_string(k.Max);
}

int32_t ReadRanged(const TIniKey& k, const TIniFile& ini, int32_t def) {
    const int32_t value = ini.ReadInteger(k.Section, k.Key, def);
    if (value >= k.Min && value <= k.Max) return value;
    engine::LogList()->Append(engine::TLogListEntry{"[framewick.ini] [" + std::string(k.Section) + "] " + k.Key +
                                                        " " + std::to_string(value) + " is " + RangeText(k) + ", " +
                                                        std::to_string(def) + " is used",
                                                    std::chrono::system_clock::now(), engine::kLogError});
    return def;
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
            s.*(*number) = ReadRanged(k, ini, s.*(*number));
        } else if (auto* byte = std::get_if<uint8_t engine::TSettings::*>(&k.Field)) {
            // Stored in one byte: only the low byte of the number read counts.
            s.*(*byte) = static_cast<uint8_t>(ini.ReadInteger(k.Section, k.Key, s.*(*byte)) & 0xFF);
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
