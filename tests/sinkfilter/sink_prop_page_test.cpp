// The sink's property page as a host's frame gets it: created by class identifier from the real
// library, connected to a sink (or to a recording stand-in for IOrbelleData), shown in a window of
// the test, edited through the keyboard and the mouse, and applied. The stored settings are read back
// from the test's own registry, and a real sink shows that it took them on the network.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/registry/registry.h"
#include "sinkfilter/filter_utils.h"
#include "tests/components/widget_test_app.h"
#include "tests/sinkfilter/sink_library.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

// Records every set-up; lives in the fixture, so the page's reference never outlives it.
class TRecordingSink final : public IOrbelleData {
public:
    struct TSetup {
        int32_t port, addr, buffer;
        uint32_t header, format;
        int32_t payloadType;
        uint32_t kind;
    };

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid != IID_IUnknown && riid != IID_IOrbelleData) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IOrbelleData*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT SetupDravenel(int32_t port, int32_t addr, int32_t buffer, uint32_t header, uint32_t format,
                          int32_t payloadType, uint32_t kind) override {
        setups.push_back({port, addr, buffer, header, format, payloadType, kind});
        return S_OK;
    }
    HRESULT GetStats(PDravenelStats) override { return E_NOTIMPL; }

    std::atomic<ULONG> refs{0};
    std::vector<TSetup> setups;
};

class SinkPropPage : public ::testing::Test {
protected:
    void SetUp() override {
        platform::TRegistry(platform::RootKey::CurrentUser).DeleteKey(sinkfilter::kFilterRegKey);
        ASSERT_EQ(CoCreate(CLSID_OrbellePropPage, page), S_OK);
        NewHost();
    }
    void TearDown() override {
        if (page) {
            page->Deactivate();
            page->SetObjects(0, nullptr);
        }
        page.Reset();
        host.reset();
        EXPECT_EQ(recorder.refs, 0u);
    }

    void NewHost() {
        host = std::make_unique<QWidget>();
        host->resize(400, 200);
        host->show();
    }
    void Connect(IUnknown* object) {
        IUnknown* objects[] = {object};
        ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    }
    void ConnectRecorder() { Connect(&recorder); }
    void Activate() { ASSERT_EQ(page->Activate(host.get()), S_OK); }
    void Reactivate() {
        ASSERT_EQ(page->Deactivate(), S_OK);
        Activate();
    }

    static void Store(const char* name, int32_t value) {
        platform::TRegistry reg(platform::RootKey::CurrentUser);
        ASSERT_TRUE(reg.OpenKey(sinkfilter::kFilterRegKey, true));
        ASSERT_TRUE(reg.WriteInteger(name, value));
    }
    static std::optional<int32_t> Stored(const char* name) {
        platform::TRegistry reg(platform::RootKey::CurrentUser);
        if (!reg.OpenKeyReadOnly(sinkfilter::kFilterRegKey)) return std::nullopt;
        return reg.ReadInteger(name);
    }
    static bool KeyExists() {
        return platform::TRegistry(platform::RootKey::CurrentUser).KeyExists(sinkfilter::kFilterRegKey);
    }

    template <class T>
    T* Control(const char* name) {
        T* control = host->findChild<T*>(name);
        EXPECT_TRUE(control) << name;
        return control;
    }
    QLineEdit* Edit(const char* name) { return Control<QLineEdit>(name); }
    QComboBox* Combo(const char* name) { return Control<QComboBox>(name); }
    // What a control shows: an edit's text, a list's item, a check box's state.
    QString Shown(const char* name) {
        if (auto* edit = host->findChild<QLineEdit*>(name)) return edit->text();
        if (auto* combo = host->findChild<QComboBox*>(name)) return combo->currentText();
        if (auto* box = host->findChild<QCheckBox*>(name)) return box->isChecked() ? "checked" : "unchecked";
        ADD_FAILURE() << "no control " << name;
        return {};
    }
    // Replaces an edit's text the way a user does (the clearing alone is no change).
    void Type(const char* name, const QString& text) {
        QLineEdit* edit = Edit(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void PickInterface(int stepsDown) {
        for (int i = 0; i < stepsDown; ++i) QTest::keyClick(Combo("Interface_ComboBox"), Qt::Key_Down);
    }
    bool Dirty() { return page->IsPageDirty() == S_OK; }
    // Opens the page of the sink and chooses the TCP server on port, not yet applied.
    void ShowTcpServerOn(IUnknown* sink, int port) {
        Connect(sink);
        Activate();
        Type("Port_Edit", QString::number(port));
        PickInterface(4);
        ASSERT_EQ(Shown("Interface_ComboBox"), "TCP Server");
    }

    TRecordingSink recorder;
    ComPtr<IPropertyPage> page;
    std::unique_ptr<QWidget> host;
};

TEST_F(SinkPropPage, ConnectsOnlyToObjectsWithTheSinkInterfaceAndLetsGoOnDisconnect) {
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
    IUnknown* notASink[] = {graph.Get()};
    EXPECT_EQ(page->SetObjects(1, notASink), E_FAIL);

    ComPtr<IBaseFilter> sink;
    ASSERT_EQ(CoCreate(CLSID_Orbelle, sink), S_OK);
    Connect(sink.Get());

    ConnectRecorder();
    EXPECT_EQ(recorder.refs, 1u);
    EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
    EXPECT_EQ(recorder.refs, 0u);
}

TEST_F(SinkPropPage, AFreshAccountShowsTheDefaultsAndAnUntouchedPageAppliesNothing) {
    ConnectRecorder();
    Activate();
    EXPECT_EQ(Shown("IpAddr_Edit"), "127.0.0.1");
    EXPECT_EQ(Shown("Port_Edit"), "1234");
    EXPECT_EQ(Shown("Buffer_Edit"), "32768");
    EXPECT_EQ(Shown("Header_CB"), "unchecked");
    EXPECT_EQ(Shown("Format_ComboBox"), "unknown");
    EXPECT_EQ(Shown("Interface_ComboBox"), "UDP Client");
    EXPECT_EQ(Shown("RtpPayloadType_Edit"), "33");
    EXPECT_FALSE(Edit("RtpPayloadType_Edit")->isEnabled());
    EXPECT_EQ(Combo("Format_ComboBox")->count(), 7);
    EXPECT_EQ(Combo("Interface_ComboBox")->itemText(2), "RTP");

    EXPECT_FALSE(Dirty());
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_FALSE(KeyExists());
    EXPECT_TRUE(recorder.setups.empty());
}

TEST_F(SinkPropPage, StoredValuesAreShownWithThePagesCorrections) {
    struct TCase {
        const char* value;
        int32_t stored;
        const char* control;
        QString shown;
    };
    const TCase cases[] = {
        {"IpPort", 0, "Port_Edit", "1234"},
        {"IpPort", -1, "Port_Edit", "1234"},
        {"IpPort", 70000, "Port_Edit", "1234"},
        {"IpPort", 65535, "Port_Edit", "65535"},
        {"IpBuffer", 0, "Buffer_Edit", "32768"},
        {"IpBuffer", 100000, "Buffer_Edit", "100000"},
        {"IpAddr", 167772161, "IpAddr_Edit", "10.0.0.1"},
        {"Header", 1, "Header_CB", "checked"},
        {"Format", 5, "Format_ComboBox", "Video::VP8"},
        {"Format", 9, "Format_ComboBox", ""},
        {"Interface", 3, "Interface_ComboBox", "TCP Server"},
        {"Interface", 9, "Interface_ComboBox", ""},
        {"RtpPayloadType", 160, "RtpPayloadType_Edit", "160"},
    };
    Activate();
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " = " + std::to_string(c.stored));
        platform::TRegistry(platform::RootKey::CurrentUser).DeleteKey(sinkfilter::kFilterRegKey);
        Store(c.value, c.stored);
        Reactivate();
        EXPECT_EQ(Shown(c.control), c.shown);
        EXPECT_FALSE(Dirty());
    }

    // A value stored as text is no number: the default shows.
    platform::TRegistry reg(platform::RootKey::CurrentUser);
    ASSERT_TRUE(reg.OpenKey(sinkfilter::kFilterRegKey, true));
    reg.WriteString("IpPort", "4000");
    Reactivate();
    EXPECT_EQ(Shown("Port_Edit"), "1234");
}

TEST_F(SinkPropPage, OnlyTheRtpOutputOpensThePayloadTypeEdit) {
    Store("Interface", siRtp);
    Activate();
    EXPECT_EQ(Shown("Interface_ComboBox"), "RTP");
    EXPECT_TRUE(Edit("RtpPayloadType_Edit")->isEnabled());

    PickInterface(1);
    EXPECT_EQ(Shown("Interface_ComboBox"), "TCP Client");
    EXPECT_FALSE(Edit("RtpPayloadType_Edit")->isEnabled());
    EXPECT_TRUE(Dirty());

    QTest::keyClick(Combo("Interface_ComboBox"), Qt::Key_Up);
    EXPECT_TRUE(Edit("RtpPayloadType_Edit")->isEnabled());
}

TEST_F(SinkPropPage, EditsDiscardTheKeysTheyDoNotTake) {
    struct TCase {
        const char* edit;
        QString typed;
        QString shown;
    };
    const TCase cases[] = {
        {"IpAddr_Edit", "10.0.x0.2 /", "10.0.0.2"},
        {"IpAddr_Edit", "-1.2", "-1.2"},
        {"Port_Edit", "12a.3-4", "123-4"},
        {"Buffer_Edit", "8 192k", "8192"},
        {"RtpPayloadType_Edit", "9.6+", "96"},
    };
    Store("Interface", siRtp);
    Activate();
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " typed " + c.typed.toStdString());
        Type(c.edit, c.typed);
        EXPECT_EQ(Shown(c.edit), c.shown);
    }
    EXPECT_TRUE(Dirty());
}

TEST_F(SinkPropPage, ApplyStoresTheCorrectedNumbersAndSetsTheFilterUp) {
    struct TCase {
        QString port, buffer, payloadType;
        int32_t wantPort, wantBuffer, wantPayloadType;
    };
    const TCase cases[] = {
        {"70000", "0", "96", 1234, 0, 96},  // the filter itself turns a buffer of 0 into 1024
        {"-5", "-3", "", 1234, 32768, 0},
        {"8080", "65535", "12-3", 8080, 65535, 12},
        {"1", "65536", "-7", 1, 32768, -7},
        {"99999999999", "1-", "-", 1234, 1, 0},
    };
    Store("Interface", siRtp);  // opens the payload-type edit
    ConnectRecorder();
    Activate();
    for (const TCase& c : cases) {
        SCOPED_TRACE(("port " + c.port + ", buffer " + c.buffer + ", payload " + c.payloadType).toStdString());
        Type("Port_Edit", c.port);
        Type("Buffer_Edit", c.buffer);
        Type("RtpPayloadType_Edit", c.payloadType);
        ASSERT_TRUE(Dirty());
        ASSERT_EQ(page->Apply(), S_OK);
        EXPECT_FALSE(Dirty());

        EXPECT_EQ(Shown("Port_Edit"), QString::number(c.wantPort));
        EXPECT_EQ(Shown("Buffer_Edit"), QString::number(c.wantBuffer));
        EXPECT_EQ(Stored("IpPort"), c.wantPort);
        EXPECT_EQ(Stored("IpBuffer"), c.wantBuffer);
        EXPECT_EQ(Stored("RtpPayloadType"), c.wantPayloadType);
        EXPECT_EQ(Stored("IpAddr"), 2130706433);
        EXPECT_EQ(Stored("Header"), 0);
        EXPECT_EQ(Stored("Format"), ftUnk);
        EXPECT_EQ(Stored("Interface"), siRtp);

        ASSERT_FALSE(recorder.setups.empty());
        const TRecordingSink::TSetup& s = recorder.setups.back();
        EXPECT_EQ(s.port, c.wantPort);
        EXPECT_EQ(s.buffer, c.wantBuffer);
        EXPECT_EQ(s.payloadType, c.wantPayloadType);
        EXPECT_EQ(s.addr, 2130706433);
        EXPECT_EQ(s.header, 0u);
        EXPECT_EQ(s.format, uint32_t{ftUnk});
        EXPECT_EQ(s.kind, uint32_t{siRtp});
    }
    EXPECT_EQ(recorder.setups.size(), std::size(cases));
    // The stored buffer of 0 from the first case would show as 32768; the last case stored 1.
    Reactivate();
    EXPECT_EQ(Shown("Buffer_Edit"), "1");
}

TEST_F(SinkPropPage, ListsApplyTheirItemAndKeepAStoredValueTheyDoNotList) {
    Store("Format", 9);
    Store("Interface", 9);
    ConnectRecorder();
    Activate();

    Type("Port_Edit", "5000");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("Format"), 9);
    EXPECT_EQ(Stored("Interface"), 9);
    EXPECT_EQ(recorder.setups.back().format, 9u);
    EXPECT_EQ(recorder.setups.back().kind, 9u);

    QTest::keyClicks(Combo("Format_ComboBox")->lineEdit(), "Video::VP8");
    PickInterface(3);  // from no item: UDP Client, UDP Server, RTP
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("Format"), ftVidVp8);
    EXPECT_EQ(Stored("Interface"), siRtp);

    // Text that names no format keeps the one stored last.
    Combo("Format_ComboBox")->lineEdit()->clear();
    QTest::keyClicks(Combo("Format_ComboBox")->lineEdit(), "Video::Nothing");
    ASSERT_TRUE(Dirty());
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("Format"), ftVidVp8);
    EXPECT_EQ(recorder.setups.back().format, uint32_t{ftVidVp8});
    EXPECT_EQ(recorder.setups.back().kind, uint32_t{siRtp});
}

TEST_F(SinkPropPage, AnAddressThatIsNoIpv4AddressRefusesTheWholeApply) {
    ConnectRecorder();
    Activate();
    for (const char* bad : {"300.1.1.1", "1.2.3", "1..2.3", "-1.2.3.4", "1.2.3.4.5", ""}) {
        SCOPED_TRACE(bad);
        Type("IpAddr_Edit", bad);
        Type("Port_Edit", "4444");
        EXPECT_TRUE(FAILED(page->Apply()));
        EXPECT_TRUE(Dirty());
        EXPECT_FALSE(KeyExists());
        EXPECT_TRUE(recorder.setups.empty());
    }
    Type("IpAddr_Edit", "192.168.1.20");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("IpAddr"), static_cast<int32_t>(0xC0A80114u));
    EXPECT_EQ(Stored("IpPort"), 4444);
    ASSERT_EQ(recorder.setups.size(), 1u);
    EXPECT_EQ(recorder.setups[0].addr, static_cast<int32_t>(0xC0A80114u));
}

TEST_F(SinkPropPage, AddressPartsWithLeadingZerosAreDecimal) {
    ConnectRecorder();
    Activate();
    const struct {
        const char* text;
        int32_t address;
    } cases[] = {{"127.0.0.01", 2130706433}, {"010.001.002.030", 0x0A01021E}, {"192.168.000.100", int32_t(0xC0A80064u)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Type("IpAddr_Edit", c.text);
        ASSERT_EQ(page->Apply(), S_OK);
        EXPECT_EQ(Stored("IpAddr"), c.address);
        EXPECT_EQ(recorder.setups.back().addr, c.address);
    }
}

TEST_F(SinkPropPage, EditsSurviveADeactivationUntilTheNextActivationRefillsThePage) {
    ConnectRecorder();
    Activate();
    Type("Port_Edit", "4321");
    ASSERT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(host->findChild<QLineEdit*>("Port_Edit"), nullptr);  // out of the host's window
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("IpPort"), 4321);

    Activate();
    Type("Port_Edit", "5555");
    QTest::mouseClick(Control<QCheckBox>("Header_CB"), Qt::LeftButton);
    EXPECT_TRUE(Dirty());
    Reactivate();
    EXPECT_EQ(Shown("Port_Edit"), "4321");
    EXPECT_EQ(Shown("Header_CB"), "unchecked");
    EXPECT_FALSE(Dirty());
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(recorder.setups.size(), 1u);
}

TEST_F(SinkPropPage, ActivationWantsTheUserInterfaceThreadAndOutlivesItsHostWindow) {
    HRESULT offThread = S_OK;
    std::thread([&] { offThread = page->Activate(host.get()); }).join();
    EXPECT_EQ(offThread, E_UNEXPECTED);
    EXPECT_EQ(page->Deactivate(), E_UNEXPECTED);  // it never became active

    ConnectRecorder();
    Activate();
    Type("Port_Edit", "4000");
    host.reset();  // the host closes its window with the page's in it
    EXPECT_TRUE(FAILED(page->Apply()));  // the edits went with the window
    EXPECT_TRUE(recorder.setups.empty());
    EXPECT_EQ(page->Deactivate(), S_OK);

    NewHost();
    Activate();
    EXPECT_EQ(Shown("Port_Edit"), "1234");
    Type("Port_Edit", "4001");
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("IpPort"), 4001);
}

// The page's settings reach a real sink: set up as a TCP server with headers, it serves a reader.
TEST_F(SinkPropPage, AppliedSettingsMakeTheSinkATcpServerThatSendsHeaders) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    ASSERT_NO_FATAL_FAILURE(ShowTcpServerOn(g.sink.Get(), port));
    QTest::mouseClick(Control<QCheckBox>("Header_CB"), Qt::LeftButton);
    ASSERT_EQ(page->Apply(), S_OK);

    EXPECT_EQ(Stored("IpBuffer"), 32768);
    EXPECT_EQ(Stored("IpPort"), port);
    EXPECT_EQ(Stored("IpAddr"), 2130706433);
    EXPECT_EQ(Stored("Header"), 1);
    EXPECT_EQ(Stored("Format"), ftUnk);
    EXPECT_EQ(Stored("RtpPayloadType"), 33);
    EXPECT_EQ(Stored("Interface"), siTcpServer);

    ASSERT_EQ(g.control->Run(), S_OK);
    fw_test::TFd reader = fw_test::ConnectTcp(port);
    ASSERT_TRUE(reader);
    g.Push(fw_test::NumberedSample(7, 3000));
    const auto frame = fw_test::ReadFrame(reader.get(), 5s);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->payload, fw_test::NumberedSample(7, 3000));
}

// Applied while the graph is stopped, another kind takes the TCP server's place at once: its port is
// free and its reader is let go.
TEST_F(SinkPropPage, ApplyingAnotherKindClosesTheTcpServerOfAStoppedSink) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    ASSERT_NO_FATAL_FAILURE(ShowTcpServerOn(g.sink.Get(), port));
    ASSERT_EQ(page->Apply(), S_OK);
    fw_test::TFd reader = fw_test::ConnectTcp(port);
    ASSERT_TRUE(reader);

    QTest::keyClick(Combo("Interface_ComboBox"), Qt::Key_Up);
    ASSERT_EQ(Shown("Interface_ComboBox"), "TCP Client");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_TRUE(fw_test::ConnectionEnds(reader.get(), 3s));
    EXPECT_FALSE(fw_test::AcceptsTcp(port));
}

// A buffer of 0 is stored as 0, reaches the sink as 1024 (its datagram size) and shows as 32768 next.
TEST_F(SinkPropPage, AnAppliedBufferOfZeroBecomesTheSinksSmallChunk) {
    int port = 0;
    fw_test::TFd receiver = fw_test::UdpReceiver(&port);
    ASSERT_TRUE(receiver);
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    Connect(g.sink.Get());
    Activate();
    Type("Port_Edit", QString::number(port));
    Type("Buffer_Edit", "0");
    ASSERT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(Stored("IpBuffer"), 0);

    ASSERT_EQ(g.control->Run(), S_OK);
    std::this_thread::sleep_for(2500ms);  // the sender drops what comes in its first two seconds
    g.Push(fw_test::NumberedSample(1, 2500));
    std::vector<size_t> sizes;
    while (auto datagram = fw_test::ReceiveDatagram(receiver.get(), sizes.size() < 3 ? 5s : 300ms))
        sizes.push_back(datagram->size());
    EXPECT_EQ(sizes, (std::vector<size_t>{1024, 1024, 452}));

    Reactivate();
    EXPECT_EQ(Shown("Buffer_Edit"), "32768");
}

}  // namespace
