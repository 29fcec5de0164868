// The SCREENCAPTURE_PARAMS block of capture.xml and the job's share list.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <future>
#include <pugixml.hpp>
#include <sstream>
#include <thread>

#include "engine/capture/settings/ScreenCaptureXml.h"
#include "engine/settings/program_state.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/support/test_env.h"

namespace {

using namespace engine;
using fw_test::FakeHttpServer;
using fw_test::FakeHttpServerList;

constexpr int32_t kAddress192_168_1_10 = static_cast<int32_t>(0xC0A8010A);

class ScreenCaptureXmlTest : public ::testing::Test {
protected:
    std::string HtmlDir() const { return (temp / "HTML").string() + "/"; }

    // The block as text, for comparing two records field by field.
    static std::string Save(const TScreenCaptureParams& params, const TShareList& shares) {
        pugi::xml_document doc;
        SaveCaptureParamsToXml(doc.append_child("SCREENCAPTURE_PARAMS"), params, shares);
        std::ostringstream out;
        doc.save(out, "  ");
        return out.str();
    }

    pugi::xml_document Parse(const std::string& text) {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_string(text.c_str(), pugi::parse_default | pugi::parse_comments));
        return doc;
    }

    fw_test::TempDir temp;
    FakeHttpServerList servers;
};

TScreenCaptureParams EveryFieldChanged(const std::string& folder) {
    TScreenCaptureParams p;
    p.capEncoder = 0;
    p.capKind = 3;
    p.capDesktopNo = 2;
    p.bCapMouse = true;
    p.capPixelFormat = 7;
    p.Window.sCaption = "Editor, main";
    p.Window.sClass = "EditorClass";
    p.Window.bAdjust = false;
    p.iLeft = -1280;
    p.iTop = 12;
    p.iWidth = 640;
    p.iHeight = 480;
    p.vidCodec = 3;
    p.vidScale = 6;
    p.vidBitrate = 2500;
    p.vidFrameRate = 25;
    p.audCodec = 0;
    p.audBitrate = 128;
    p.bPreScale = true;
    p.capVlcLibPath = folder + "LIB_VLC/";
    p.capInputStr = "udp://@239.0.0.1:1234";
    p.capUdpIp = kAddress192_168_1_10;
    p.capUdpPort = 31000;
    p.capVidPid = 201;
    p.capAudPid = 202;
    p.capPmtPid = 200;
    p.capImageFreq = 9;
    p.capImageFormat = 1;
    p.capImagePngComp = 3;
    p.capImageJpgComp = 70;
    p.capImagebArchive = true;
    p.capTimeDisplaybAct = true;
    p.capTimeDisplayiPos = 4;
    p.capTimeDisplaysFont = "DejaVu Sans";
    p.capTimeDisplayiSize = 14;
    p.capTimeDisplayiColor = 0x00FF00;
    p.capTimeDisplaybBold = false;
    p.capTimeDisplaysiBkgnd = 0x000080;
    p.capTimeDisplaysbTransp = true;
    p.Files.capFilesDir = folder + "drop/";
    p.Files.capiFileFmt = 3;
    p.Files.capbDelete = false;
    p.Files.capiFreq = 11;
    return p;
}

TEST_F(ScreenCaptureXmlTest, RoundTripKeepsEveryFieldExceptLibraryFolderAndShareNumbers) {
    const std::string folder = temp.path().string() + "/";
    fw_test::WriteFile(temp / "page.html", "<html/>");
    fw_test::WriteFile(temp / "logo.png", "png");
    std::filesystem::create_directories(temp / "pages");
    auto server = std::make_shared<FakeHttpServer>(kAddress192_168_1_10, 8080, folder + "www/");
    servers.servers = {std::make_shared<FakeHttpServer>(kLoopbackAddress, 80, folder + "other/"), server};

    const TScreenCaptureParams original = EveryFieldChanged(folder);
    const TShareDefaults defaults = fw_test::TestShareDefaults(3, HtmlDir());  // one share counter
    TShareList shares(defaults);
    PCaptureStreamer http = shares.AddStreamer();
    http->Protocol = kShareProtocolHttp;
    http->IpAddr = kAddress192_168_1_10;
    http->Port = 6000;
    http->HttpServer = server;
    http->SubDir = "live";
    http->Active = false;
    http->FtpActive = true;
    http->FtpHost = "ftp.example.org";
    http->FtpUser = "joe";
    http->FtpPassword = "secret";
    http->FtpHostDir = "/cams";
    http->FtpDeleteDir = false;
    http->FtpImageFreq = 30;
    http->VideoActive = false;
    http->ImageActive = true;
    http->ImageDir = "Snaps";
    http->FileActive = true;
    http->FileDir = "Files";
    http->UseFileList = true;
    http->IndexHtml = folder + "page.html";
    http->HtmlDir = folder + "pages/";
    http->FileList = {folder + "logo.png", folder + "page.html"};
    PCaptureStreamer udp = shares.AddStreamer();

    pugi::xml_document doc;
    pugi::xml_node block = doc.append_child("SCREENCAPTURE_PARAMS");
    SaveCaptureParamsToXml(block, original, shares);

    // Every stored value differs from its default, so a field the reader forgot would show.
    TShareList defaultShares(fw_test::TestShareDefaults(3, HtmlDir()));
    defaultShares.AddStreamer();
    pugi::xml_document defaultDoc = Parse(Save(TScreenCaptureParams{}, defaultShares));
    const pugi::xml_node defaultBlock = defaultDoc.child("SCREENCAPTURE_PARAMS");
    for (pugi::xml_node child : block.children()) {
        if (std::string(child.name()) == "streamer_list") continue;
        EXPECT_STRNE(child.text().get(), defaultBlock.child(child.name()).text().get()) << child.name();
    }
    const pugi::xml_node entry = block.child("streamer_list").first_child();
    for (pugi::xml_node child : entry.children()) {
        if (std::string(child.name()) == "FileList") continue;
        EXPECT_STRNE(child.text().get(), defaultBlock.child("streamer_list").first_child().child(child.name()).text().get())
            << child.name();
    }
    EXPECT_STREQ(block.child("capUdpIp").text().get(), "-1062731510");
    EXPECT_STREQ(entry.child("strHttpPort").text().get(), "8080");
    EXPECT_FALSE(entry.child("iIdx"));

    TShareList loadedShares(defaults);
    TScreenCaptureParams loaded = LoadCaptureParamsFromXml(block, loadedShares, &servers);
    EXPECT_EQ(loaded.capVlcLibPath, "");
    EXPECT_EQ(loaded.capUdpIp, kAddress192_168_1_10);
    ASSERT_EQ(loadedShares.Count(), 2u);
    EXPECT_EQ(loadedShares.Items()[0]->HttpServer, server);
    EXPECT_EQ(loadedShares.Items()[1]->HttpServer, nullptr);
    EXPECT_NE(loadedShares.Items()[0]->Index, http->Index);  // fresh numbers
    // The page folders of the shares were named by the reader; the UDP share's default one is new.
    loadedShares.Items()[1]->HtmlDir = udp->HtmlDir;

    loaded.capVlcLibPath = original.capVlcLibPath;
    EXPECT_EQ(Save(loaded, loadedShares), Save(original, shares));
}

TEST_F(ScreenCaptureXmlTest, HandWrittenBlockKeepsGoodValuesAndDefaultsBadOnes) {
    fw_test::WriteFile(temp / "kept.css", "css");
    auto first = std::make_shared<FakeHttpServer>(kLoopbackAddress, 80, temp.path().string() + "/www/");
    servers.servers = {first};
    std::string font120;  // 120 characters of two bytes each
    for (int i = 0; i < 120; ++i) font120 += "\xC3\xA9";
    const std::string xml = "<SCREENCAPTURE_PARAMS>"
                            "<capKind>3</capKind><vidBitrate>20</vidBitrate><vidFrameRate>500</vidFrameRate>"
                            "<audBitrate>letters</audBitrate><capEncoder>300</capEncoder><bPreScale>maybe</bPreScale>"
                            "<bCapMouse>True</bCapMouse><capUdpPort>0x10</capUdpPort><iLeft>-50</iLeft>"
                            "<somethingNew>7</somethingNew><capVlcLibPath>/opt/vlc/</capVlcLibPath>"
                            "<capTimeDisplaysFont>" + font120 + "</capTimeDisplaysFont>"
                            "<streamer_list>"
                            "<streamer_list_entry><iIdx>42</iIdx><strProtocol>0</strProtocol>"
                            "<strHttpIp>123</strHttpIp><strHttpPort>9999</strHttpPort><strLocalDir>cam</strLocalDir>"
                            "<FileList><FileListEntry>" + (temp / "kept.css").string() + "</FileListEntry>"
                            "<FileListEntry>" + (temp / "gone.css").string() + "</FileListEntry>"
                            "<Other>x</Other></FileList></streamer_list_entry>"
                            "<renamed_entry/><!-- a comment -->"
                            "<streamer_list_entry><strProtocol>1</strProtocol><strHttpIp></strHttpIp>"
                            "<strHttpPort></strHttpPort><strPort>abc</strPort></streamer_list_entry>"
                            "</streamer_list></SCREENCAPTURE_PARAMS>";
    pugi::xml_document doc = Parse(xml);
    TShareList shares(fw_test::TestShareDefaults(3, HtmlDir()));
    const TScreenCaptureParams p = LoadCaptureParamsFromXml(doc.first_child(), shares, &servers);

    EXPECT_EQ(p.capKind, 3);
    EXPECT_EQ(p.vidBitrate, kMinVideoBitrate);
    EXPECT_EQ(p.vidFrameRate, kMaxFrameRate);
    EXPECT_EQ(p.audBitrate, 96);
    EXPECT_EQ(p.capEncoder, kCapEncoderDirectX);  // 300 does not fit the byte
    EXPECT_FALSE(p.bPreScale);
    EXPECT_TRUE(p.bCapMouse);
    EXPECT_EQ(p.capUdpPort, 16);
    EXPECT_EQ(p.iLeft, -50);
    EXPECT_EQ(p.capVlcLibPath, "");
    EXPECT_EQ(p.capTimeDisplaysFont, font120.substr(0, 2 * kMaxTimeDisplayFontLength));  // 100 characters
    EXPECT_EQ(p.capDesktopNo, 1);  // missing: default

    // Every element of streamer_list is a share, whatever its name; the comment is none.
    ASSERT_EQ(shares.Count(), 3u);
    const TCaptureStreamer& bound = *shares.Items()[0];
    EXPECT_EQ(bound.Index, 42);
    EXPECT_EQ(bound.HttpServer, first);  // its own server is gone: the first one takes it
    EXPECT_EQ(bound.SubDir, "cam");
    EXPECT_EQ(bound.FileList, std::vector<std::string>{(temp / "kept.css").string()});
    EXPECT_EQ(shares.Items()[1]->Protocol, kShareProtocolUdp);
    EXPECT_EQ(shares.Items()[1]->Port, 50301);
    const TCaptureStreamer& udp = *shares.Items()[2];
    EXPECT_EQ(udp.HttpServer, nullptr);
    EXPECT_EQ(udp.Port, 50302);  // "abc" keeps the default
}

// What is not an element inside streamer_list is no share, whichever parse options kept it.
TEST_F(ScreenCaptureXmlTest, OnlyElementsOfTheShareListAreShares) {
    const struct {
        const char* between;
        unsigned parseOptions;
    } cases[] = {
        {"<!-- the second camera, switched off for now -->", pugi::parse_default | pugi::parse_comments},
        {"<?editor keep?>", pugi::parse_default | pugi::parse_pi},
        {"stray text", pugi::parse_default},
        {"<![CDATA[x]]>", pugi::parse_default},
        {"\n    ", pugi::parse_default | pugi::parse_ws_pcdata},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.between);
        const std::string xml = std::string("<SCREENCAPTURE_PARAMS><streamer_list>") + c.between +
                                "<streamer_list_entry><strPort>6001</strPort></streamer_list_entry>" + c.between +
                                "<streamer_list_entry><strPort>6002</strPort></streamer_list_entry>" + c.between +
                                "</streamer_list></SCREENCAPTURE_PARAMS>";
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(xml.c_str(), c.parseOptions));
        ASSERT_NE(doc.first_child().child("streamer_list").first_child().type(), pugi::node_element);
        TShareList shares(fw_test::TestShareDefaults(3, HtmlDir()));
        LoadCaptureParamsFromXml(doc.first_child(), shares, &servers);
        EXPECT_EQ(shares.Count(), 2u);
        if (shares.Count() < 2) continue;
        EXPECT_EQ(shares.Items()[0]->Port, 6001);
        EXPECT_EQ(shares.Items()[1]->Port, 6002);
    }
}

TEST_F(ScreenCaptureXmlTest, BlockWithOnlyKindGetsDefaultsAndOneDefaultShare) {
    pugi::xml_document doc = Parse("<SCREENCAPTURE_PARAMS><capKind>2</capKind></SCREENCAPTURE_PARAMS>");
    TShareList shares(fw_test::TestShareDefaults(3, HtmlDir()));
    const TScreenCaptureParams p = LoadCaptureParamsFromXml(doc.first_child(), shares, nullptr);
    TScreenCaptureParams expected;
    expected.capKind = 2;
    TShareList none(fw_test::TestShareDefaults(3, HtmlDir()));
    EXPECT_EQ(Save(p, none), Save(expected, none));
    ASSERT_EQ(shares.Count(), 1u);
    EXPECT_EQ(shares.Items()[0]->Port, 50300);
    EXPECT_EQ(shares.AddStreamer()->Port, 50301);
}

TEST_F(ScreenCaptureXmlTest, BlockWithoutShareListKeepsTheJobsShares) {
    TShareList shares(fw_test::TestShareDefaults(0, HtmlDir()));
    const PCaptureStreamer kept = shares.AddStreamer();
    pugi::xml_document doc = Parse("<SCREENCAPTURE_PARAMS><capEncoder>0</capEncoder><vidFrameRate>0</vidFrameRate></SCREENCAPTURE_PARAMS>");
    const TScreenCaptureParams p = LoadCaptureParamsFromXml(doc.first_child(), shares, nullptr);
    ASSERT_EQ(shares.Count(), 1u);
    EXPECT_EQ(shares.Items()[0], kept);
    EXPECT_EQ(p.vidFrameRate, kMinFrameRate);  // clamped for method 0 too
}

TEST_F(ScreenCaptureXmlTest, NewSharesTakeTheirDefaults) {
    TShareList shares(fw_test::TestShareDefaults(2, HtmlDir()));
    const PCaptureStreamer s = shares.AddStreamer();
    EXPECT_EQ(s->Index, 1);
    EXPECT_EQ(s->Protocol, kShareProtocolUdp);
    EXPECT_EQ(s->Port, 50200);
    EXPECT_EQ(s->SubDir, "pc1");
    EXPECT_TRUE(s->VideoActive);
    EXPECT_FALSE(s->ImageActive);
    EXPECT_EQ(s->HtmlDir, HtmlDir() + "Streamer_1/");
    EXPECT_TRUE(std::filesystem::is_directory(s->HtmlDir));

    TShareList noVlc(fw_test::TestShareDefaults(2, HtmlDir(), /*vlcMissing=*/true));
    const PCaptureStreamer snapshot = noVlc.AddStreamer();
    EXPECT_EQ(snapshot->Protocol, kShareProtocolHttp);
    EXPECT_FALSE(snapshot->VideoActive);
    EXPECT_TRUE(snapshot->ImageActive);
}

// The web servers look shares up under GlobalLock: no change of a list gets past a thread that holds it.
TEST_F(ScreenCaptureXmlTest, EveryChangeOfAShareListWaitsForGlobalLock) {
    using TChange = std::function<void(TShareList& shares, const PCaptureStreamer& listed)>;
    const std::pair<const char*, TChange> cases[] = {
        {"AddStreamer", [](TShareList& shares, const PCaptureStreamer&) { shares.AddStreamer(); }},
        {"Append", [](TShareList& shares, const PCaptureStreamer&) { shares.Append(std::make_shared<TCaptureStreamer>()); }},
        {"DeleteStreamer", [](TShareList& shares, const PCaptureStreamer& listed) { shares.DeleteStreamer(listed.get()); }},
        {"ClearStreamers", [](TShareList& shares, const PCaptureStreamer&) { shares.ClearStreamers(); }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        TShareList shares(fw_test::TestShareDefaults(0, HtmlDir()));
        const PCaptureStreamer listed = shares.AddStreamer();
        std::promise<void> locked;
        std::promise<void> release;
        std::thread holder([&] {
            std::lock_guard lock(GlobalLock());
            locked.set_value();
            release.get_future().wait();
        });
        locked.get_future().wait();
        std::atomic<bool> changed{false};
        std::thread changer([&] {
            change(shares, listed);
            changed = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(changed) << "the list changed while another thread held GlobalLock";
        release.set_value();
        holder.join();
        changer.join();
        EXPECT_TRUE(changed);
    }
}

}  // namespace
