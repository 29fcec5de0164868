#include "app/lists/list_entry_checks.h"

#include "app/lists/list_file_store.h"

namespace app {
namespace {

struct TByteRange {
    const char* Name;
    uint8_t engine::TScreenCaptureParams::*Field;
    uint8_t Max;
};

constexpr uint8_t kMaxVidScale = 13;  // the scale table has 14 rows
constexpr uint8_t kMaxImageFormat = 2;
constexpr uint8_t kMaxFileFormat = 4;

const TByteRange kByteRanges[] = {
    {"capEncoder", &engine::TScreenCaptureParams::capEncoder, engine::kCapEncoderSystem},
    {"capKind", &engine::TScreenCaptureParams::capKind, engine::kCapKindFiles},
    {"vidCodec", &engine::TScreenCaptureParams::vidCodec, engine::kVidCodecH265},
    {"vidScale", &engine::TScreenCaptureParams::vidScale, kMaxVidScale},
    {"capImageFormat", &engine::TScreenCaptureParams::capImageFormat, kMaxImageFormat},
};

void CheckByte(const std::string& entryName, const char* name, uint8_t& value, uint8_t max, uint8_t fallback) {
    if (value <= max) return;
    LogListFileError("[capture.xml] " + entryName + ": " + name + " " + std::to_string(value) + " is unknown, " +
                     std::to_string(fallback) + " is used");
    value = fallback;
}

}  // namespace

bool CheckPort(const std::string& what, int32_t& port, int32_t fallback) {
    if (port >= kMinPort && port <= kMaxPort) return true;
    LogListFileError(what + " " + std::to_string(port) + " is outside " + std::to_string(kMinPort) + ".." +
                     std::to_string(kMaxPort) + ", " + std::to_string(fallback) + " is used");
    port = fallback;
    return false;
}

void CheckCaptureValues(const std::string& entryName, engine::TScreenCaptureParams& params,
                        engine::TShareList& shares) {
    const engine::TScreenCaptureParams defaults;
    for (const TByteRange& range : kByteRanges)
        CheckByte(entryName, range.Name, params.*range.Field, range.Max, defaults.*range.Field);
    CheckByte(entryName, "capiFileFmt", params.Files.capiFileFmt, kMaxFileFormat, defaults.Files.capiFileFmt);
    CheckPort("[capture.xml] " + entryName + ": capUdpPort", params.capUdpPort, defaults.capUdpPort);

    const engine::TShareDefaults& shareDefaults = shares.Defaults();
    const uint8_t protocol = shareDefaults.VlcMissing ? engine::kShareProtocolHttp : engine::kShareProtocolUdp;
    int32_t position = 0;
    for (const engine::PCaptureStreamer& share : shares.Items()) {
        const std::string shareName = entryName + " share " + std::to_string(share->Index);
        CheckByte(shareName, "strProtocol", share->Protocol, engine::kShareProtocolUdp, protocol);
        CheckPort("[capture.xml] " + shareName + ": strPort", share->Port,
                  shareDefaults.CaptureIdx * engine::kSharePortsPerCapture + engine::kFirstSharePort + position);
        ++position;
    }
}

}  // namespace app
