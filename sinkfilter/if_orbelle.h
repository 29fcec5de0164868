// The sink filter's contract with its hosts: class identifiers, the output kinds and formats, the
// statistics record, IOrbelleData and IOrbelleListener. The record's layout is fixed to the byte (hosts are built
// separately from the filter library).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/com.h"

// The format the filter is told it receives; only ftVidVp8 changes what it does (the sample header).
enum TFormatTypes : uint8_t {
    ftUnk = 0,
    ftVidMpeg = 1,
    ftVidH264 = 2,
    ftVidHevc = 3,
    ftVidAvc = 4,
    ftVidVp8 = 5,
    ftVidRgb32 = 6,
};

// The kind of network output.
enum TSinkInterface : uint8_t {
    siUdpClient = 0,   // UDP datagrams to address:port
    siUdpServer = 1,   // accepted, sends nothing
    siTcpClient = 2,   // connects to address:port and writes
    siTcpServer = 3,   // listens on address:port; each connected client takes whole samples
    siRtp = 4,         // UDP datagrams behind a 12-byte RTP header
    siWebSocket = 5,   // web-socket server on address:port, binary messages to every client
};

struct TDravenelStats {
    int32_t OutpDataRate;    // output bytes per second since the filter became active
    int32_t Padding0;
    int64_t OutpBytes;       // bytes handed to the network output
    int64_t OutpSamples;     // datagrams, writes or messages handed to the network output
    int32_t OutpSampleSize;  // average output sample size in bytes
    int32_t Padding1;
    int64_t runTime;         // whole seconds since the filter became active
    int32_t InpSampleSize;   // average input sample size in bytes
    int32_t Padding2;
    int64_t InpSamples;      // samples received since the filter became active
    int64_t InpBytes;        // sample bytes received since the filter became active
    int32_t InpDatarate;     // input bytes per second
    int32_t Padding3;
};
using PDravenelStats = TDravenelStats*;

static_assert(sizeof(TDravenelStats) == 72 && alignof(TDravenelStats) == 8);
static_assert(offsetof(TDravenelStats, OutpDataRate) == 0);
static_assert(offsetof(TDravenelStats, OutpBytes) == 8);
static_assert(offsetof(TDravenelStats, OutpSamples) == 16);
static_assert(offsetof(TDravenelStats, OutpSampleSize) == 24);
static_assert(offsetof(TDravenelStats, runTime) == 32);
static_assert(offsetof(TDravenelStats, InpSampleSize) == 40);
static_assert(offsetof(TDravenelStats, InpSamples) == 48);
static_assert(offsetof(TDravenelStats, InpBytes) == 56);
static_assert(offsetof(TDravenelStats, InpDatarate) == 64);

inline constexpr CLSID CLSID_Orbelle = {0xE57B4739, 0x08A1, 0x4A76, {0xB4, 0xC7, 0x9D, 0x4F, 0xD0, 0xC9, 0xF4, 0x7C}};
inline constexpr CLSID CLSID_OrbellePropPage = {
    0xA73F0835, 0xE2C1, 0x4C89, {0xBC, 0x9B, 0x4C, 0x7B, 0xBB, 0x50, 0x61, 0xD8}};

struct IOrbelleData : IUnknown {
    static constexpr IID iid = {0x4B438311, 0x5398, 0x4CBD, {0xAB, 0x79, 0xB7, 0xB3, 0x60, 0x91, 0x83, 0x67}};

    // Stores the seven settings with corrections (port outside 1..65535 becomes 12345; buffer below 1
    // becomes 1024, above 65535 32768). bHeader, fmtType and iInterface are 32-bit slots of which only
    // the low byte counts. Header and format apply from the next sample on, the rest at the next
    // activation. Always S_OK.
    virtual HRESULT SetupDravenel(int32_t iIpPort, int32_t iIpAddr, int32_t iIpBuffer, uint32_t bHeader,
                                  uint32_t fmtType, int32_t rtpPayloadType, uint32_t iInterface) = 0;
    // S_FALSE and nothing touched for a null record; otherwise fills all 72 bytes and answers S_OK.
    virtual HRESULT GetStats(PDravenelStats pstats) = 0;

protected:
    ~IOrbelleData() = default;
};

inline constexpr const IID& IID_IOrbelleData = IOrbelleData::iid;

// What the sink's own TCP server holds. From outside, a port that another program listens on looks the
// same as one the sink listens on: a host asks here before it points a reader at the port.
struct IOrbelleListener : IUnknown {
    static constexpr IID iid = {0xDF33B225, 0x9F0C, 0x4340, {0x8A, 0x38, 0xDF, 0xB3, 0x93, 0xE7, 0x83, 0x06}};

    // S_OK and the port when the filter is a TCP server that listens; S_FALSE and 0 when it is no TCP
    // server or its server could not listen (the port was taken); E_POINTER for a null port.
    virtual HRESULT GetListeningPort(int32_t* port) = 0;

protected:
    ~IOrbelleListener() = default;
};

inline constexpr const IID& IID_IOrbelleListener = IOrbelleListener::iid;
