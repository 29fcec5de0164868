// The sink's small pieces: the settings store and its defaults, SetupDravenel's corrections, the chunk
// size, addresses, the RTP and "TSRQ" headers and the bounded queue.
#include <gtest/gtest.h>

#include "platform/registry/registry.h"
#include "sinkfilter/filter_utils.h"
#include "sinkfilter/ip_address.h"
#include "sinkfilter/rtp_header.h"
#include "sinkfilter/sample_header.h"
#include "sinkfilter/sink_queue.h"
#include "sinkfilter/sink_settings.h"

using namespace sinkfilter;

namespace {

class SinkSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFilterRegKey(kFilterRegKey);
        platform::TRegistry(platform::RootKey::CurrentUser).DeleteKey(kFilterRegKey);
    }
    void TearDown() override { SetFilterRegKey(kFilterRegKey); }
};

uint64_t LittleEndianAt(const TSinkSampleHeader& h, size_t at, size_t width) {
    uint64_t v = 0;
    for (size_t i = 0; i < width; ++i) v |= static_cast<uint64_t>(h[at + i]) << (8 * i);
    return v;
}

}  // namespace

TEST_F(SinkSettingsTest, AFreshAccountYieldsTheDefaults) {
    const TSinkSettings s = LoadSinkSettings();
    EXPECT_EQ(s.ipPort, 1234);
    EXPECT_EQ(s.ipAddr, 2130706433);
    EXPECT_EQ(s.ipBuffer, 32768);
    EXPECT_FALSE(s.header);
    EXPECT_EQ(s.format, ftUnk);
    EXPECT_EQ(s.rtpPayloadType, 33);
    EXPECT_EQ(s.interfaceKind, siUdpClient);
}

TEST_F(SinkSettingsTest, StoredValuesAreReadAsTheyAreWithoutCorrections) {
    WriteFilterInteger("IpPort", 0);
    WriteFilterInteger("IpBuffer", 0);
    WriteFilterBool("Header", true);
    WriteFilterInteger("Format", 9);
    WriteFilterInteger("Interface", 3);
    const TSinkSettings s = LoadSinkSettings();
    EXPECT_EQ(s.ipPort, 0);
    EXPECT_EQ(s.ipBuffer, 0);
    EXPECT_TRUE(s.header);
    EXPECT_EQ(s.format, 9);
    EXPECT_EQ(s.interfaceKind, siTcpServer);
}

TEST_F(SinkSettingsTest, ATextValueReadsAsItsDefaultAndTheNextWriteMakesItAnInteger) {
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    ASSERT_TRUE(reg.OpenKey(kFilterRegKey, true));
    ASSERT_TRUE(reg.WriteString("IpPort", "4321"));
    EXPECT_EQ(ReadFilterInteger("IpPort", 1234), 1234);
    WriteFilterInteger("IpPort", 4321);
    EXPECT_EQ(ReadFilterInteger("IpPort", 1234), 4321);
    EXPECT_EQ(reg.GetValueType("IpPort"), platform::RegValueType::Integer);
}

TEST_F(SinkSettingsTest, WithoutAKeyPathReadsGiveDefaultsAndWritesDoNothing) {
    SetFilterRegKey("");
    WriteFilterInteger("IpPort", 99);
    EXPECT_EQ(ReadFilterInteger("IpPort", 7), 7);
    SetFilterRegKey(kFilterRegKey);
    EXPECT_EQ(ReadFilterInteger("IpPort", 7), 7);
}

TEST(SetupCorrections, PortBufferAndTheLowBytesOfTheSlots) {
    const struct {
        int32_t port, buffer;
        uint32_t header, format, kind;
        int32_t wantPort, wantBuffer;
        bool wantHeader;
        uint8_t wantFormat, wantKind;
    } cases[] = {
        {0, 0, 0, 0, 0, 12345, 1024, false, ftUnk, siUdpClient},
        {70000, 70000, 1, 5, 4, 12345, 32768, true, ftVidVp8, siRtp},
        {-5, -1, 0xABCDEF00, 0x106, 0xFFFFFF03, 12345, 1024, false, ftVidRgb32, siTcpServer},
        {1, 1, 0x100, 0, 5, 1, 1, false, ftUnk, siWebSocket},
        {65535, 65535, 2, 0, 2, 65535, 65535, true, ftUnk, siTcpClient},
    };
    for (const auto& c : cases) {
        const TSinkSettings s = SettingsFromSetup(c.port, 2130706433, c.buffer, c.header, c.format, 96, c.kind);
        EXPECT_EQ(s.ipPort, c.wantPort) << c.port;
        EXPECT_EQ(s.ipBuffer, c.wantBuffer) << c.buffer;
        EXPECT_EQ(s.header, c.wantHeader) << std::hex << c.header;
        EXPECT_EQ(s.format, c.wantFormat);
        EXPECT_EQ(s.interfaceKind, c.wantKind) << std::hex << c.kind;
        EXPECT_EQ(s.ipAddr, 2130706433);
        EXPECT_EQ(s.rtpPayloadType, 96);
    }
}

TEST(ChunkSize, ZeroAndTooSmallTakeTheDefaultAndDatagramsStayWithinTheIpv4Limit) {
    const struct {
        uint8_t kind;
        int32_t buffer;
        size_t chunk;
    } cases[] = {
        {siUdpClient, 0, 32768},   {siUdpClient, 1000, 1000},   {siUdpClient, 65535, 65507},
        {siUdpClient, -1, 32768},  {siUdpClient, 70000, 32768}, {siRtp, 12, 32768},
        {siRtp, 13, 13},           {siRtp, 65535, 65507},       {siTcpClient, 0, 32768},
        {siTcpClient, 65535, 65535}, {siWebSocket, 1, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(EffectiveChunkSize(c.kind, c.buffer), c.chunk) << int(c.kind) << " " << c.buffer;
}

TEST(IpAddress, IntegerAndDottedTextBothWays) {
    EXPECT_EQ(IpToDotted(2130706433), "127.0.0.1");
    EXPECT_EQ(IpToDotted(static_cast<int32_t>(0xC0A80164)), "192.168.1.100");
    // Four decimal parts of 0..255; leading zeros are decimal too, never octal.
    const struct {
        const char* text;
        std::optional<int32_t> address;
    } cases[] = {
        {"127.0.0.1", 2130706433},
        {"255.255.255.255", -1},
        {"0.0.0.0", 0},
        {"127.0.0.01", 2130706433},
        {"010.000.000.001", 0x0A000001},
        {"192.168.001.0100", static_cast<int32_t>(0xC0A80164)},
        {"0000000000127.0.0.1", 2130706433},
        {"127.0.0", std::nullopt},
        {"127.0.0.1.", std::nullopt},
        {"127.0.0.1.5", std::nullopt},
        {"127..0.1", std::nullopt},
        {".127.0.0.1", std::nullopt},
        {"256.0.0.1", std::nullopt},
        {"1.2.3.0256", std::nullopt},
        {"99999999999.0.0.1", std::nullopt},
        {"-1.2.3.4", std::nullopt},
        {"1.2.3.4 ", std::nullopt},
        {"0x7f.0.0.1", std::nullopt},
        {"localhost", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(DottedToIp(c.text), c.address) << '"' << c.text << '"';
}

TEST(RtpHeader, FieldsInTheirByteOrders) {
    const TRtpHeader h = BuildRtpHeader(160, 0x1234, 0xA1B2C3D4, 0x11223344);
    const TRtpHeader want = {0x80, 0xA0, 0x12, 0x34, 0xA1, 0xB2, 0xC3, 0xD4, 0x44, 0x33, 0x22, 0x11};
    EXPECT_EQ(h, want);
    EXPECT_EQ(BuildRtpHeader(33 + 256, 0, 0, 0)[1], 33);
    EXPECT_EQ(MakeRtpSsrc(1000, 0x1234567), 1000u * 100u + 0x1234567 % 100);
    EXPECT_EQ(MakeRtpSsrc(0xFFFFFFFF, 99), 0xFFFFFFFFu * 100u + 99u);
}

TEST(SampleHeader, MagicLengthTimesAndVideoFields) {
    VIDEOINFOHEADER vih{};
    vih.AvgTimePerFrame = 333333;
    vih.bmiHeader.biWidth = 1920;
    vih.bmiHeader.biHeight = -1080;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 32;
    const TSinkSampleHeader h = BuildSampleHeader(5000, TSampleTimes{100, 200}, &vih);
    EXPECT_EQ(std::string(h.begin(), h.begin() + 4), "TSRQ");
    EXPECT_EQ(LittleEndianAt(h, 0, 4), kSampleHeaderMagic);
    EXPECT_EQ(LittleEndianAt(h, 4, 4), 5000u);
    EXPECT_EQ(LittleEndianAt(h, 8, 8), 100u);
    EXPECT_EQ(LittleEndianAt(h, 16, 8), 200u);
    EXPECT_EQ(LittleEndianAt(h, 24, 8), 333333u);
    EXPECT_EQ(LittleEndianAt(h, 32, 4), 1920u);
    EXPECT_EQ(static_cast<int32_t>(LittleEndianAt(h, 36, 4)), -1080);
    EXPECT_EQ(LittleEndianAt(h, 40, 4), 1u);
    EXPECT_EQ(LittleEndianAt(h, 44, 4), 32u);

    const TSinkSampleHeader bare = BuildSampleHeader(7, std::nullopt, nullptr);
    for (size_t i = 8; i < kSampleHeaderBytes; ++i) EXPECT_EQ(bare[i], 0) << i;
}

TEST(SinkQueue, KeepsTheNewest101AndTakesFromTheHead) {
    TSinkQueue q;
    size_t dropped = 0;
    for (int i = 0; i < 150; ++i) dropped += q.PushNewest({static_cast<uint8_t>(i)});
    EXPECT_EQ(q.Count(), 101u);
    EXPECT_EQ(dropped, 49u);
    EXPECT_EQ(q.PopFront()->at(0), 49);
    q.PushFront({{200}, {201}});
    EXPECT_EQ(q.PopFront()->at(0), 200);
    EXPECT_EQ(q.PopFront()->at(0), 201);
    EXPECT_EQ(q.PopFront()->at(0), 50);
    q.Clear();
    EXPECT_FALSE(q.PopFront());
}

TEST(SinkQueue, ABatchStaysWithinItsLimitsButAlwaysTakesTheFirstItem) {
    const struct {
        std::vector<size_t> sizes;
        size_t maxItems, maxBytes;
        size_t taken;
    } cases[] = {
        {{10, 10, 10}, 16, 100, 3},  // all there is
        {{10, 10, 10}, 2, 100, 2},   // the item limit
        {{10, 10, 10}, 16, 25, 2},   // the byte limit
        {{50, 10}, 16, 25, 1},       // the first one alone may be larger
        {{}, 16, 100, 0},
    };
    for (const auto& c : cases) {
        TSinkQueue q;
        for (size_t i = 0; i < c.sizes.size(); ++i) q.PushNewest(TSinkQueueItem(c.sizes[i], static_cast<uint8_t>(i)));
        const auto batch = q.PopFrontBatch(c.maxItems, c.maxBytes);
        ASSERT_EQ(batch.size(), c.taken);
        for (size_t i = 0; i < batch.size(); ++i) EXPECT_EQ(batch[i], TSinkQueueItem(c.sizes[i], static_cast<uint8_t>(i)));
        EXPECT_EQ(q.Count(), c.sizes.size() - c.taken);
    }
}

TEST(SinkQueue, SpareBuffersComeBackEmptyWithTheirCapacityAndAreBounded) {
    TSinkQueue q;
    EXPECT_EQ(q.TakeSpareBuffer().capacity(), 0u);
    // Bounded in number...
    for (size_t i = 0; i < kMaxSpareBuffers + 2; ++i) q.ReturnSpareBuffer(TSinkQueueItem(1000 + i, 1));
    for (size_t i = 0; i < kMaxSpareBuffers; ++i) {
        const TSinkQueueItem spare = q.TakeSpareBuffer();
        EXPECT_TRUE(spare.empty());
        EXPECT_GE(spare.capacity(), 1000u);
    }
    EXPECT_EQ(q.TakeSpareBuffer().capacity(), 0u);
    // ...and in bytes.
    const size_t large = kMaxSpareBytes / 2 + 1;
    q.ReturnSpareBuffer(TSinkQueueItem(large));
    q.ReturnSpareBuffer(TSinkQueueItem(large));
    EXPECT_GE(q.TakeSpareBuffer().capacity(), large);
    EXPECT_EQ(q.TakeSpareBuffer().capacity(), 0u);
}
