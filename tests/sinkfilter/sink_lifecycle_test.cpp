// The library's life as an in-process server: registration round trip, class objects, unloading;
// and the filter's stop/start under clients that connect, stall and go away.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <signal.h>

#include <thread>

#include "platform/registry/registry.h"
#include "sinkfilter/filter_utils.h"
#include "tests/sinkfilter/sink_library.h"
#include "tests/sinkfilter/ws_test_client.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

// The library loaded a second time by hand, to call its exports directly.
class TLibrary {
public:
    TLibrary() : handle_(::dlopen(fw_test::OrbelleLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~TLibrary() {
        if (handle_) ::dlclose(handle_);
    }
    template <class Fn>
    Fn Get(const char* name) const {
        return handle_ ? reinterpret_cast<Fn>(::dlsym(handle_, name)) : nullptr;
    }
    bool Loaded() const { return handle_ != nullptr; }

private:
    void* handle_;
};

std::string ClassKey(const CLSID& clsid) { return "CLSID\\" + GuidToString(clsid); }

class SinkLifecycle : public ::testing::Test {
protected:
    // Writes to a client that went away must not raise SIGPIPE in the host.
    void SetUp() override { previous_ = ::signal(SIGPIPE, SIG_DFL); }
    void TearDown() override { ::signal(SIGPIPE, previous_); }

private:
    sighandler_t previous_ = SIG_DFL;
};

}  // namespace

TEST_F(SinkLifecycle, RegistrationRoundTrip) {
    platform::TRegistry reg(platform::RootKey::ClassesRoot);
    ASSERT_TRUE(reg.OpenKeyReadOnly(ClassKey(CLSID_Orbelle)));
    EXPECT_EQ(reg.ReadString(""), "Orbelle32");
    ASSERT_TRUE(reg.OpenKeyReadOnly(ClassKey(CLSID_Orbelle) + "\\InprocServer32"));
    EXPECT_EQ(reg.ReadString(""), fw_test::OrbelleLibraryPath());
    EXPECT_EQ(reg.ReadString("ThreadingModel"), "Both");
    const std::string instance =
        ClassKey(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + GuidToString(CLSID_Orbelle);
    ASSERT_TRUE(reg.OpenKeyReadOnly(instance));
    EXPECT_EQ(reg.ReadString("FriendlyName"), "Orbelle32");
    const auto data = reg.ReadBinary("FilterData");
    ASSERT_TRUE(data && data->size() > 12);
    EXPECT_EQ(fw_test::LittleEndian(*data, 4, 4), MERIT_DO_NOT_USE);
    reg.CloseKey();

    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(CoCreate(CLSID_Orbelle, filter), S_OK);
    filter.Reset();

    std::string output;
    ASSERT_TRUE(fw_test::RegisterOrbelle(true, &output)) << output;
    EXPECT_FALSE(reg.KeyExists(ClassKey(CLSID_Orbelle)));
    EXPECT_FALSE(reg.KeyExists(instance));
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoCreate(CLSID_Orbelle, filter), REGDB_E_CLASSNOTREG);

    ASSERT_TRUE(fw_test::RegisterOrbelle(false, &output)) << output;
    EXPECT_EQ(CoCreate(CLSID_Orbelle, filter), S_OK);
}

TEST_F(SinkLifecycle, ClassObjectsAndUnloading) {
    TLibrary lib;
    ASSERT_TRUE(lib.Loaded());
    auto getClassObject = lib.Get<DllGetClassObjectFn>("DllGetClassObject");
    auto canUnload = lib.Get<DllCanUnloadNowFn>("DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnload);
    EXPECT_FALSE(lib.Get<void*>("Orbelle"));  // nothing but the four exports

    constexpr CLSID kUnknown = {0xDEADBEEF, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(kUnknown, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(getClassObject(CLSID_Orbelle, IID_IOrbelleData, &out), E_NOINTERFACE);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_Orbelle, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    ComPtr<IUnknown> outer;
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(CoCreate(CLSID_FilterGraph, outer), S_OK);
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IBaseFilter, filter.PutVoid()), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, filter.PutVoid()), S_OK);
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_FALSE);
    filter.Reset();
    EXPECT_EQ(canUnload(), S_FALSE);  // still locked
    ASSERT_EQ(getClassObject(CLSID_Orbelle, IID_IClassFactory, factory.PutVoid()), S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_OK);
}

// A filter made after the property page stored its settings works with them, untouched by any host
// set-up: a TCP server with headers and the VP8 video fields, an RTP output with its chunk size and
// payload type.
TEST_F(SinkLifecycle, AFilterMadeAfterItsSettingsWereStoredUsesThem) {
    int udpPort = 0;
    fw_test::TFd receiver = fw_test::UdpReceiver(&udpPort);
    const int tcpPort = fw_test::FreeTcpPort();
    const struct {
        const char* name;
        TSinkInterface kind;
        int port, buffer, header, format, payloadType;
    } cases[] = {
        {"tcp server", siTcpServer, tcpPort, 32768, 1, ftVidVp8, 33},
        {"rtp", siRtp, udpPort, 1000, 0, ftUnk, 96},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            platform::TRegistry reg(platform::RootKey::CurrentUser);
            ASSERT_TRUE(reg.OpenKey(sinkfilter::kFilterRegKey, true));
            for (const auto& [name, value] : {std::pair<const char*, int>{"IpPort", c.port},
                                              {"IpAddr", 2130706433},
                                              {"IpBuffer", c.buffer},
                                              {"Header", c.header},
                                              {"Format", c.format},
                                              {"RtpPayloadType", c.payloadType},
                                              {"Interface", c.kind}})
                ASSERT_TRUE(reg.WriteInteger(name, value));
        }
        fw_test::TSinkGraph g({fw_test::VideoType(MEDIASUBTYPE_VP80, 320, 240, 24, 333333)});
        ASSERT_EQ(g.control->Run(), S_OK);
        const auto sample = fw_test::NumberedSample(5, 2500);
        if (c.kind == siTcpServer) {
            fw_test::TFd reader = fw_test::ConnectTcp(c.port);
            ASSERT_TRUE(reader);
            g.Push(sample);
            const auto frame = fw_test::ReadFrame(reader.get(), 5s);
            ASSERT_TRUE(frame);
            EXPECT_EQ(frame->payload, sample);
            EXPECT_EQ(fw_test::LittleEndian(frame->header, 24, 8), 333333u);  // the VP8 format's video fields
            EXPECT_EQ(fw_test::LittleEndian(frame->header, 32, 4), 320u);
        } else {
            std::this_thread::sleep_for(2300ms);  // past the sender's discard window
            g.Push(sample);
            std::vector<std::vector<uint8_t>> got;
            while (auto d = fw_test::ReceiveDatagram(receiver.get(), got.size() < 3 ? 5s : 300ms)) got.push_back(*d);
            ASSERT_EQ(got.size(), 3u);  // 988 payload bytes per 1000-byte datagram
            EXPECT_EQ(got[0].size(), 1000u);
            EXPECT_EQ(got[1].size(), 1000u);
            EXPECT_EQ(got[2].size(), 12u + 2500 - 2 * 988);
            for (const auto& d : got) EXPECT_EQ(d[1], 96);
        }
        ASSERT_EQ(g.control->Stop(), S_OK);
    }
    platform::TRegistry(platform::RootKey::CurrentUser).DeleteKey(sinkfilter::kFilterRegKey);
}

TEST_F(SinkLifecycle, StopAndStartInALoopWithClientsComingAndGoing) {
    for (const TSinkInterface kind : {siTcpServer, siWebSocket}) {
        SCOPED_TRACE(kind == siTcpServer ? "tcp server" : "web socket");
        const int port = fw_test::FreeTcpPort();
        fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
        g.Setup(port, 8192, true, ftUnk, 0, kind);
        for (int round = 0; round < 12; ++round) {
            ASSERT_EQ(g.control->Run(), S_OK) << "round " << round;
            fw_test::TFd reader = fw_test::ConnectTcp(port, 3s);  // the same port again at once
            ASSERT_TRUE(reader) << "round " << round;
            fw_test::TWsTestClient ws;
            if (kind == siWebSocket) {
                ASSERT_TRUE(ws.Connect(port, 3s)) << "round " << round;
            }
            fw_test::TFd quitter = fw_test::ConnectTcp(port, 1s);
            for (uint32_t i = 0; i < 40; ++i) {
                g.Push(fw_test::NumberedSample(i, 30000));
                if (i == 10) quitter.Reset();
                if (i == 20 && round % 2 == 0) reader.Reset();
            }
            if (kind == siTcpServer && round % 2 == 1) {
                ASSERT_TRUE(fw_test::ReadFrame(reader.get(), 3s));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5 * (round % 3)));
            ASSERT_EQ(g.control->Stop(), S_OK);
        }
    }
}

TEST_F(SinkLifecycle, AStalledTcpClientFreezesNeitherTheStreamNorTheStop) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::VideoType(MEDIASUBTYPE_RGB32, 1920, 1080, 32, 400000)}, 1 << 20);
    g.Setup(port, 32768, false, ftUnk, 0, siTcpServer);
    fw_test::TFd stalled = fw_test::ConnectTcp(port);  // connects, never reads
    ASSERT_TRUE(stalled);
    ASSERT_EQ(g.control->Run(), S_OK);
    for (uint32_t i = 0; i < 60; ++i) g.Push(fw_test::NumberedSample(i, 1 << 20));
    EXPECT_TRUE(g.WaitDelivered(60, 5s));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(g.control->Stop(), S_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}
