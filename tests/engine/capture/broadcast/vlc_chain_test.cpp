// The libVLC argument list, input, transcode element and share chains of a capture job, and the
// broadcast's add, play and stop against a fake libVLC.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/capture/broadcast/CaptureBroadcast.h"
#include "engine/capture/broadcast/VlcArguments.h"
#include "engine/capture/broadcast/VlcOutputChain.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/support/test_env.h"

namespace {

using namespace engine;

bool Has(const std::vector<std::string>& args, const std::string& arg) {
    return std::find(args.begin(), args.end(), arg) != args.end();
}

class FakeVlcApi : public IVlcApi {
public:
    std::vector<std::string> calls;
    int addResult = 0;
    int playResult = 0;
    int rate = 1000;
    libvlc_instance_t* NewInstance(const std::vector<std::string>&) override {
        calls.push_back("new");
        return reinterpret_cast<libvlc_instance_t*>(&token_);
    }
    void ReleaseInstance(libvlc_instance_t*) override { calls.push_back("release"); }
    bool CanBroadcast() const override { return true; }
    int AddBroadcast(libvlc_instance_t*, const std::string& name, const std::string& input, const std::string& output) override {
        calls.push_back("add " + name + " " + input + " " + output);
        return addResult;
    }
    int PlayMedia(libvlc_instance_t*, const std::string&) override {
        calls.push_back("play");
        return playResult;
    }
    int StopMedia(libvlc_instance_t*, const std::string&) override {
        calls.push_back("stop");
        return 0;
    }
    int DeleteMedia(libvlc_instance_t*, const std::string&) override {
        calls.push_back("del");
        return 0;
    }
    int MediaInstanceRate(libvlc_instance_t*, const std::string&) override { return rate; }

private:
    int token_ = 0;
};

class VlcChainTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(temp / "www/pc1"); }
    std::string Root() const { return (temp / "www").string() + "/"; }
    PCaptureStreamer HttpShare(const std::string& subDir) {
        auto share = std::make_shared<TCaptureStreamer>();
        share->Index = 7;
        share->Protocol = kShareProtocolHttp;
        share->HttpServer = std::make_shared<fw_test::FakeHttpServer>(kLoopbackAddress, 8080, Root());
        share->SubDir = subDir;
        return share;
    }
    PCaptureStreamer UdpShare() {
        auto share = std::make_shared<TCaptureStreamer>();
        share->IpAddr = static_cast<int32_t>(0xC0A8010A);
        share->Port = 50100;
        return share;
    }
    CaptureLog Log() {
        return [this](const std::string& text, uint8_t level) {
            if (level == kLogLevelError) errors.push_back(text);
        };
    }
    TChainSettings Settings() const { return TChainSettings{1, "stream_1", 10, 5}; }

    fw_test::TempDir temp;
    std::vector<std::string> errors;
};

TEST_F(VlcChainTest, ArgumentListOfTheCaptureGraphMethod) {
    TScreenCaptureParams p;
    TCaptureGeometry g;
    g.FrameWidth = 1920;
    g.FrameHeight = 1088;
    const auto args = BuildVlcArguments(p, g);
    ASSERT_EQ(args.size(), 14u);
    EXPECT_EQ(args[0], "--ignore-config");
    EXPECT_EQ(args[3], "--sout-ts-pid-video=101");
    EXPECT_EQ(args[4], "--sout-ts-pid-audio=102");
    EXPECT_EQ(args[5], "--sout-ts-pid-pmt=100");
    EXPECT_EQ(args[6], "--sout-x264-preset=ultrafast");
    const std::vector<std::string> raw(args.begin() + 7, args.end());
    EXPECT_EQ(raw, (std::vector<std::string>{"--demux=rawvideo", "--rawvid-fps=20", "--rawvid-width=1920",
                                             "--rawvid-height=1088", "--rawvid-chroma=YV12", "--sout-keep",
                                             "--network-caching=1000"}));

    p.capVidPid = p.capAudPid = p.capPmtPid = 0;
    g.ScaledWidth = 512;
    g.ScaledHeight = 256;
    const auto noPids = BuildVlcArguments(p, g);
    EXPECT_EQ(noPids.size(), 11u);
    EXPECT_TRUE(Has(noPids, "--rawvid-width=512"));
    EXPECT_TRUE(Has(noPids, "--rawvid-height=256"));
    TScreenCaptureParams system;
    system.capEncoder = kCapEncoderSystem;
    EXPECT_EQ(BuildVlcArguments(system, g).size(), 7u);
}

TEST_F(VlcChainTest, ArgumentsAndInputOfLibVlcReadingItself) {
    TScreenCaptureParams area;
    area.capEncoder = kCapEncoderVlc;
    area.capKind = kCapKindArea;
    area.iWidth = 101;
    area.iHeight = 75;
    area.vidFrameRate = 0;
    const TCaptureGeometry none;
    const auto args = BuildVlcArguments(area, none);
    EXPECT_TRUE(Has(args, "--screen-left=100"));
    EXPECT_TRUE(Has(args, "--screen-width=102"));
    EXPECT_TRUE(Has(args, "--screen-height=76"));
    EXPECT_TRUE(Has(args, "--screen-fps=1"));  // a frame rate of 0 is clamped
    EXPECT_EQ(std::count_if(args.begin(), args.end(), [](const std::string& a) { return a.starts_with("--screen-fragment-size"); }), 0);

    area.iWidth = 4;
    EXPECT_TRUE(Has(BuildVlcArguments(area, none), "--screen-width=16"));

    TScreenCaptureParams all;
    all.capEncoder = kCapEncoderVlc;
    all.capKind = kCapKindAllMonitors;
    const auto allArgs = BuildVlcArguments(all, none);
    EXPECT_EQ(std::count_if(allArgs.begin(), allArgs.end(), [](const std::string& a) { return a.starts_with("--screen-top"); }), 0);
    EXPECT_EQ(BroadcastInput(all, 47048), "screen://");

    TScreenCaptureParams udp;
    udp.capEncoder = kCapEncoderVlc;
    udp.capKind = kCapKindUdpStream;
    udp.capUdpIp = static_cast<int32_t>(0xC0A8010A);
    const auto udpArgs = BuildVlcArguments(udp, none);
    EXPECT_TRUE(Has(udpArgs, "--ts-es-id-pid"));
    EXPECT_TRUE(Has(udpArgs, "--sout-ts-es-id-pid"));
    EXPECT_EQ(BroadcastInput(udp, 47048), "udp://@192.168.1.10:30000");
    EXPECT_EQ(BroadcastInput(TScreenCaptureParams{}, 47048), "tcp://127.0.0.1:47048");
}

TEST_F(VlcChainTest, TranscodeElementByCodecs) {
    const struct {
        uint8_t method, vid, aud, scale;
        bool preScale;
        const char* element;
    } cases[] = {
        {1, 2, 2, 0, false, "transcode{vcodec=h264,vb=1000,scale=1.0,venc=x264{keyint=200},acodec=MP3,ab=96}:"},
        {1, 3, 2, 6, true, "transcode{vcodec=mp4v,vb=1000,scale=1,acodec=MP3,ab=96}:"},
        {0, 5, 9, 12, false, "transcode{vcodec=h265,vb=1000,scale=2}:"},
        {1, 0, 0, 0, false, "transcode{}:"},
        {1, 0, 7, 0, false, "transcode{}:"},
        {1, 9, 0, 0, false, "transcode{}:"},
        {1, 9, 2, 0, false, "transcode{acodec=MP3,ab=96}:"},
        {1, 1, 1, 0, false, ""},
    };
    for (const auto& c : cases) {
        TScreenCaptureParams p;
        p.capEncoder = c.method;
        p.vidCodec = c.vid;
        p.audCodec = c.aud;
        p.vidScale = c.scale;
        p.bPreScale = c.preScale;
        EXPECT_EQ(TranscodeElement(VideoOption(p, 10), AudioOption(p)), c.element) << int(c.vid) << "/" << int(c.aud);
    }
}

TEST_F(VlcChainTest, HlsChainOfOneShareQuotesItsPaths) {
    std::vector<PCaptureStreamer> shares = {HttpShare("pc1")};
    fw_test::WriteFile(temp / "www/pc1/stale.ts", "old");
    fw_test::WriteFile(temp / "www/keep.html", "root");
    const TShareChains chains = BuildShareChains(shares, Settings(), Log());
    ASSERT_EQ(chains.Chains.size(), 1u);
    EXPECT_EQ(chains.HlsShares, shares);
    TScreenCaptureParams p;
    p.vidCodec = kVidCodecMp4v;
    const std::string folder = Root() + "pc1/";
    EXPECT_EQ(BroadcastOutput(p, chains.Chains, 10),
              "#transcode{vcodec=mp4v,vb=1000,scale=1.0,acodec=MP3,ab=96}:std{access=livehttp{seglen=10,delsegs=true,"
              "numsegs=5,index=\"" + folder + "stream_1.m3u8\",index-url=\"http://127.0.0.1:8080/pc1/stream_1_########.ts\"},"
              "mux=ts{use-key-frames},dst=\"" + folder + "stream_1_########.ts\"}");
    EXPECT_FALSE(std::filesystem::exists(temp / "www/pc1/stale.ts"));  // the share folder was emptied
    EXPECT_TRUE(std::filesystem::exists(temp / "www/keep.html"));
}

TEST_F(VlcChainTest, SharesJoinIntoDuplicateInListOrder) {
    std::vector<PCaptureStreamer> shares = {HttpShare("pc1"), UdpShare()};
    const auto both = BuildShareChains(shares, Settings(), Log());
    ASSERT_EQ(both.Chains.size(), 2u);
    const std::string joined = JoinChains(both.Chains);
    EXPECT_TRUE(joined.starts_with("duplicate{dst=std{access=livehttp{")) << joined;
    EXPECT_TRUE(joined.ends_with(",dst=udp{mux=ts,dst=192.168.1.10:50100}}")) << joined;

    shares[1]->VideoActive = false;
    EXPECT_EQ(JoinChains(BuildShareChains(shares, Settings(), Log()).Chains), both.Chains[0]);
    shares[0]->Active = false;  // neither published nor mirrored: skipped
    EXPECT_TRUE(BuildShareChains(shares, Settings(), Log()).Chains.empty());
}

TEST_F(VlcChainTest, MirroredShareAddressesSegmentsOnTheFtpHost) {
    const struct {
        const char* host;
        const char* hostDir;
        const char* storedDir;
        const char* url;
    } cases[] = {{"ftp.example.org", "/live", "live/", "http://ftp.example.org/live/stream_1_########.ts"},
                 {kDefaultFtpHost, "cams/", "cams/", "http://ftp.example.com/cams/stream_1_########.ts"},
                 {"https://cdn.example.org/", "", "", "https://cdn.example.org/stream_1_########.ts"},
                 // A player cannot fetch segments over FTP: the host's web server is asked.
                 {"ftp://Ftp.Example.org:2121/upload", "live", "live/", "http://Ftp.Example.org:2121/live/stream_1_########.ts"},
                 // No usable server part: the share's own web server stays the address.
                 {"ftp://user@host", "live", "live/", "http://127.0.0.1:8080/pc1/stream_1_########.ts"}};
    for (const auto& c : cases) {
        auto share = HttpShare("pc1");
        share->FtpActive = true;
        share->FtpHost = c.host;
        share->FtpHostDir = c.hostDir;
        const auto chains = BuildShareChains({share}, Settings(), Log());
        EXPECT_EQ(share->FtpHostDir, c.storedDir);
        ASSERT_EQ(chains.Chains.size(), 1u);
        EXPECT_NE(chains.Chains[0].find(std::string("index-url=\"") + c.url + "\""), std::string::npos) << chains.Chains[0];
    }
}

TEST_F(VlcChainTest, UnsafeFolderNamesAndValuesGiveNoChain) {
    fw_test::WriteFile(temp / "www/keep.html", "root");
    for (const char* subDir : {"", "..", ".", "/abs", "../up", "a/../b", "a//b", "live\\..", "/"}) {
        errors.clear();
        EXPECT_TRUE(BuildShareChains({HttpShare(subDir)}, Settings(), Log()).Chains.empty()) << subDir;
        EXPECT_EQ(errors.size(), 1u) << subDir;
    }
    EXPECT_TRUE(std::filesystem::exists(temp / "www/keep.html"));  // the web root was never cleared
    EXPECT_TRUE(BuildShareChains({HttpShare("cam{1}")}, Settings(), Log()).Chains.empty());
    auto noServer = HttpShare("pc1");
    noServer->HttpServer.reset();
    EXPECT_TRUE(BuildShareChains({noServer}, Settings(), Log()).Chains.empty());

    // Commas, blanks and apostrophes stay inside their quoted value.
    const auto spaced = BuildShareChains({HttpShare("cam's 1,b")}, Settings(), Log());
    ASSERT_EQ(spaced.Chains.size(), 1u);
    EXPECT_NE(spaced.Chains[0].find("index=\"" + Root() + "cam's 1,b/stream_1.m3u8\""), std::string::npos);
    EXPECT_EQ(QuoteChainValue("a\"b"), std::nullopt);
    EXPECT_EQ(QuoteChainValue("a\\b"), std::nullopt);
}

TEST_F(VlcChainTest, NestedFoldersPublishLikeASingleName) {
    for (const char* subDir : {"live/cam1", "live\\cam1\\", "live/cam1/"}) {
        const auto chains = BuildShareChains({HttpShare(subDir)}, Settings(), Log());
        ASSERT_EQ(chains.Chains.size(), 1u) << subDir;
        EXPECT_NE(chains.Chains[0].find("index=\"" + Root() + "live/cam1/stream_1.m3u8\""), std::string::npos)
            << chains.Chains[0];
        EXPECT_NE(chains.Chains[0].find("index-url=\"http://127.0.0.1:8080/live/cam1/stream_1_########.ts\""),
                  std::string::npos)
            << chains.Chains[0];
        EXPECT_TRUE(std::filesystem::is_directory(temp / "www/live/cam1")) << subDir;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(VlcChainTest, BroadcastAddsPlaysChecksAndStops) {
    auto api = std::make_shared<FakeVlcApi>();
    TVlcBroadcast broadcast(api, "Quillmar_0000ABCD", 1, Log());
    EXPECT_FALSE(broadcast.Play("in", "#out"));  // no instance: nothing reaches libVLC
    EXPECT_TRUE(api->calls.empty());

    ASSERT_TRUE(broadcast.CreateInstance({"--ignore-config"}));
    std::vector<PCaptureStreamer> shares = {UdpShare()};
    TScreenCaptureParams p;
    const auto result = RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log());
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(result.HasChains);
    ASSERT_EQ(api->calls.size(), 3u);
    EXPECT_TRUE(api->calls[1].starts_with("add Quillmar_0000ABCD tcp://127.0.0.1:47048 #transcode{")) << api->calls[1];
    broadcast.Stop(std::chrono::steady_clock::now() - std::chrono::seconds(10));
    EXPECT_EQ(api->calls.back(), "del");
    broadcast.Stop(std::chrono::steady_clock::now() - std::chrono::seconds(10));  // nothing left to stop
    EXPECT_EQ(api->calls.back(), "del");

    api->rate = -1;  // the input failed at once
    EXPECT_FALSE(RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log()).Ok);
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors.back().find("[idx: 1] broadcast ended at once"), std::string::npos) << errors.back();
    api->rate = 1000;
    api->playResult = -1;
    EXPECT_FALSE(RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log()).Ok);
    api->addResult = -1;
    EXPECT_FALSE(RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log()).Ok);

    // VP8 is refused before libVLC sees it; a job without chains or of method 2 broadcasts nothing.
    api->calls.clear();
    p.vidCodec = kVidCodecVp8;
    EXPECT_FALSE(RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log()).Ok);
    EXPECT_NE(errors.back().find("VP8"), std::string::npos);
    shares[0]->VideoActive = false;
    EXPECT_TRUE(RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log()).Ok);
    p.capEncoder = kCapEncoderSystem;
    shares[0]->VideoActive = true;
    EXPECT_TRUE(RunBroadcastStep(broadcast, p, shares, Settings(), 47048, Log()).Ok);
    EXPECT_TRUE(api->calls.empty());

    broadcast.ReleaseInstance();
    EXPECT_EQ(api->calls.back(), "release");
    EXPECT_FALSE(broadcast.HasInstance());
}

}  // namespace
