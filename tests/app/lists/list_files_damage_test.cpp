// List files as people and crashes leave them: hand-written files with missing, extra and malformed
// elements, values no code knows, files cut short or with another root, and missing files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app/lists/capture_list_file.h"
#include "app/lists/http_server_list_file.h"
#include "app/lists/web_socket_list_file.h"
#include "engine/settings/counters.h"
#include "tests/app/lists/list_file_fixture.h"

namespace {

namespace fs = std::filesystem;
using fw_test::ListFileTest;

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

std::string SocketEntry(int idx, int port, const std::string& name) {
    return "  <WEB_SOCKET_LIST_ENTRY>\n    <idx>" + std::to_string(idx) + "</idx>\n    <iAddr>2130706433</iAddr>\n" +
           "    <iPort>" + std::to_string(port) + "</iPort>\n    <sName>" + name + "</sName>\n    <bAct>True</bAct>\n" +
           "  </WEB_SOCKET_LIST_ENTRY>\n";
}

const std::string kThreeSockets = "<?xml version=\"1.0\"?>\n<WEB_SOCKET_LIST>\n" + SocketEntry(1, 8081, "one") +
                                  SocketEntry(2, 8082, "two") + SocketEntry(3, 8083, "three") + "</WEB_SOCKET_LIST>\n";

using ListFileDamageTest = ListFileTest;

TEST_F(ListFileDamageTest, HandWrittenEntriesTakeWhatConvertsAndIgnoreTheRest) {
    fw_test::WriteFile(dir_ / "wsocket.xml",
                       "<WEB_SOCKET_LIST><!-- by hand -->\n"
                       "<WEB_SOCKET_LIST_ENTRY><sName> spaced </sName><colour>red</colour><iPort>\t8090 </iPort>"
                       "<bAct>TRUE</bAct><idx>12</idx></WEB_SOCKET_LIST_ENTRY>\n"
                       "<SOMETHING_ELSE><idx>99</idx></SOMETHING_ELSE>\n"
                       "<WEB_SOCKET_LIST_ENTRY><idx>eleven</idx><iAddr>3232235786</iAddr><iPort>8091</iPort>"
                       "<bAct>1</bAct><sname>case matters</sname></WEB_SOCKET_LIST_ENTRY>\n"
                       "<WEB_SOCKET_LIST_ENTRY/>\n"
                       "</WEB_SOCKET_LIST>");
    app::LoadWebSocketList(&pool_, PathOf("wsocket.xml"), *host_, sockets_);
    ASSERT_EQ(sockets_.Count(), 3u);
    const app::TWebSocketEntry& first = *sockets_.Items()[0];
    EXPECT_EQ(first.Idx, 12);
    EXPECT_EQ(first.Name, " spaced ");  // text is taken as it stands
    EXPECT_EQ(first.Port, 8090);
    EXPECT_TRUE(first.Active);
    EXPECT_EQ(first.Addr, 0);
    const app::TWebSocketEntry& second = *sockets_.Items()[1];
    EXPECT_EQ(second.Idx, 0);                  // letters in idx: only that field keeps its start value
    EXPECT_EQ(second.Addr, -1062731510);       // 192.168.1.10 written unsigned
    EXPECT_EQ(second.Name, "");                // element names are compared exactly
    EXPECT_TRUE(second.Active);
    const app::TWebSocketEntry& empty = *sockets_.Items()[2];
    EXPECT_EQ(empty.Port, app::kDefaultWebSocketPort);  // no port at all: the default, logged
    EXPECT_TRUE(KeptAside(PathOf("wsocket.xml")).empty());
    EXPECT_TRUE(AnyLineHas(LogLines(), "iPort 0 is outside 1..65535, 8080 is used"));
}

TEST_F(ListFileDamageTest, ValuesNoCodeKnowsLoadAsTheirDefaultsWithALogLine) {
    fw_test::WriteFile(dir_ / "wsocket.xml",
                       "<WEB_SOCKET_LIST>" + SocketEntry(1, 70000, "far") + SocketEntry(2, -5, "neg") + "</WEB_SOCKET_LIST>");
    fw_test::WriteFile(dir_ / "httpserv.xml",
                       "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><port>0</port></HTTP_SERVER_LIST_ENTRY>"
                       "<HTTP_SERVER_LIST_ENTRY><idx>2</idx><port>123456</port></HTTP_SERVER_LIST_ENTRY>"
                       "</HTTP_SERVER_LIST>");
    fw_test::WriteFile(dir_ / "capture.xml",
                       "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>odd</name><SCREENCAPTURE_PARAMS>"
                       "<capEncoder>7</capEncoder><capKind>9</capKind><vidCodec>6</vidCodec><vidScale>40</vidScale>"
                       "<capImageFormat>3</capImageFormat><capiFileFmt>200</capiFileFmt><capUdpPort>-1</capUdpPort>"
                       "<streamer_list><streamer_list_entry><strProtocol>5</strProtocol><strPort>99999</strPort>"
                       "</streamer_list_entry><streamer_list_entry><strPort>0</strPort></streamer_list_entry>"
                       "</streamer_list></SCREENCAPTURE_PARAMS></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    LoadAll();
    const std::vector<std::string> log = LogLines();

    ASSERT_EQ(sockets_.Count(), 2u);
    EXPECT_EQ(sockets_.Items()[0]->Port, 8080);
    EXPECT_EQ(sockets_.Items()[1]->Port, 8080);
    EXPECT_TRUE(AnyLineHas(log, "iPort 70000 is outside 1..65535"));
    ASSERT_EQ(servers_.Count(), 2u);
    EXPECT_EQ(servers_.Items()[0]->Server->Port(), engine::TCaptureHttpServer::kDefaultPort);
    EXPECT_EQ(servers_.Items()[1]->Server->Port(), engine::TCaptureHttpServer::kDefaultPort);
    EXPECT_TRUE(AnyLineHas(log, "port 123456 is outside 1..65535"));

    ASSERT_EQ(captures_.Count(), 1u);
    const app::TCaptureListEntry& odd = *captures_.Items()[0];
    const engine::TScreenCaptureParams defaults;
    EXPECT_EQ(odd.Capture->Params.capEncoder, defaults.capEncoder);
    EXPECT_EQ(odd.Capture->Params.capKind, defaults.capKind);
    EXPECT_EQ(odd.Capture->Params.vidCodec, defaults.vidCodec);
    EXPECT_EQ(odd.Capture->Params.vidScale, defaults.vidScale);
    EXPECT_EQ(odd.Capture->Params.capImageFormat, defaults.capImageFormat);
    EXPECT_EQ(odd.Capture->Params.Files.capiFileFmt, defaults.Files.capiFileFmt);
    EXPECT_EQ(odd.Capture->Params.capUdpPort, defaults.capUdpPort);
    for (const char* part : {"capEncoder 7 is unknown", "capKind 9 is unknown", "vidCodec 6", "vidScale 40",
                             "capImageFormat 3", "capiFileFmt 200", "capUdpPort -1", "strProtocol 5", "strPort 99999",
                             "strPort 0"})
        EXPECT_TRUE(AnyLineHas(log, part)) << part;
    ASSERT_EQ(odd.Capture->Streamers->Count(), 2u);
    EXPECT_EQ(odd.Capture->Streamers->Items()[0]->Protocol, engine::kShareProtocolUdp);
    const int32_t firstPort = odd.Idx * engine::kSharePortsPerCapture + engine::kFirstSharePort;
    EXPECT_EQ(odd.Capture->Streamers->Items()[0]->Port, firstPort);
    EXPECT_EQ(odd.Capture->Streamers->Items()[1]->Port, firstPort + 1);
}

struct TCut {
    const char* name;
    std::string marker;  // the file is cut just before this text
    size_t wholeEntries;
};

class ListFileTruncationTest : public ListFileTest, public ::testing::WithParamInterface<TCut> {};

TEST_P(ListFileTruncationTest, KeepsTheFileAsideAndReadsTheEntriesBeforeTheDamage) {
    const TCut& cut = GetParam();
    const size_t at = kThreeSockets.find(cut.marker);
    ASSERT_NE(at, std::string::npos);
    const std::string damaged = kThreeSockets.substr(0, at);
    fw_test::WriteFile(dir_ / "wsocket.xml", damaged);

    app::LoadWebSocketList(&pool_, PathOf("wsocket.xml"), *host_, sockets_);
    EXPECT_EQ(sockets_.Count(), cut.wholeEntries);
    for (size_t i = 0; i < sockets_.Count(); ++i) EXPECT_EQ(sockets_.Items()[i]->Idx, static_cast<int32_t>(i + 1));
    const auto aside = KeptAside(PathOf("wsocket.xml"));
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(fw_test::ReadFile(aside[0]), damaged);
    EXPECT_FALSE(fs::exists(dir_ / "wsocket.xml"));
    EXPECT_TRUE(AnyLineHas(LogLines(), "is damaged"));

    // The next save writes what was read and leaves the damaged file alone.
    ASSERT_TRUE(app::SaveWebSocketList(&pool_, PathOf("wsocket.xml"), sockets_));
    EXPECT_EQ(fw_test::ReadFile(aside[0]), damaged);
    app::TWebSocketList again;
    app::LoadWebSocketList(&pool_, PathOf("wsocket.xml"), *host_, again);
    EXPECT_EQ(again.Count(), cut.wholeEntries);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, ListFileTruncationTest,
    ::testing::Values(TCut{"InsideTheThirdEntry", "<sName>three", 2},
                      TCut{"AfterTheThirdEntryEnds", "\n</WEB_SOCKET_LIST>", 3},
                      TCut{"InsideTheFirstEntry", "<iPort>8081", 0},
                      TCut{"InTheDeclaration", "version", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListFileDamageTest, AnotherRootOrAnEmptyFileIsKeptAsideAndReadsAsNoFile) {
    fw_test::WriteFile(dir_ / "capture.xml", "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY/></HTTP_SERVER_LIST>");
    fw_test::WriteFile(dir_ / "wsocket.xml", "");
    LoadAll();
    EXPECT_EQ(captures_.Count(), 0u);
    EXPECT_EQ(sockets_.Count(), 0u);
    EXPECT_EQ(KeptAside(PathOf("capture.xml")).size(), 1u);
    EXPECT_EQ(KeptAside(PathOf("wsocket.xml")).size(), 1u);
    const auto log = LogLines();
    EXPECT_TRUE(AnyLineHas(log, "[capture.xml] the list file's root element is not CAPTURE_LIST"));
    EXPECT_TRUE(AnyLineHas(log, "[wsocket.xml] the list file is damaged"));
    // A second damaged file of the same name in the same second gets a name of its own.
    fw_test::WriteFile(dir_ / "capture.xml", "<CAPTURE_LIST><CAPTURE_LIST_ENTRY>");
    app::LoadCaptureList(&pool_, PathOf("capture.xml"), *host_, servers_, sockets_, captures_);
    EXPECT_EQ(KeptAside(PathOf("capture.xml")).size(), 2u);
}

TEST_F(ListFileDamageTest, WithoutWebServersTheDefaultServerIsAdded) {
    for (const char* content : {"", "<HTTP_SERVER_LIST>\n</HTTP_SERVER_LIST>"}) {
        servers_.Clear();
        fs::remove(dir_ / "httpserv.xml");
        if (*content) fw_test::WriteFile(dir_ / "httpserv.xml", content);
        app::LoadHttpServerList(&pool_, PathOf("httpserv.xml"), *host_, servers_);
        ASSERT_EQ(servers_.Count(), 1u) << content;
        const app::THttpServerEntry& entry = *servers_.Items()[0];
        EXPECT_TRUE(entry.AutoStart);
        EXPECT_EQ(entry.Server->IpAddr(), 2130706433u);
        EXPECT_EQ(entry.Server->Port(), 8088);
        EXPECT_EQ(entry.Server->Root, PathOf("htdocs") + "/");
        EXPECT_GT(entry.Server->Idx(), 0);
    }
}

TEST_F(ListFileDamageTest, ACaptureKeepsWhatItsEntryLacks) {
    fw_test::WriteFile(dir_ / "wsocket.xml", "<WEB_SOCKET_LIST>" + SocketEntry(5, 8085, "five") + "</WEB_SOCKET_LIST>");
    fw_test::WriteFile(dir_ / "capture.xml",
                       "<CAPTURE_LIST>\n"
                       "  <CAPTURE_LIST_ENTRY><name>no params</name><webSocketAct>True</webSocketAct>"
                       "<webSocketIdx>42</webSocketIdx></CAPTURE_LIST_ENTRY>\n"
                       "  <CAPTURE_LIST_ENTRY><name>linked</name><webSocketIdx>5</webSocketIdx></CAPTURE_LIST_ENTRY>\n"
                       "</CAPTURE_LIST>");
    LoadAll();
    ASSERT_EQ(captures_.Count(), 2u);
    const app::TCaptureListEntry& lonely = *captures_.Items()[0];
    EXPECT_EQ(lonely.WebSocket.lock(), nullptr);  // no web socket 42
    EXPECT_TRUE(lonely.WebSocketAct);             // as read
    const engine::TScreenCaptureParams defaults;
    EXPECT_EQ(lonely.Capture->Params.capKind, defaults.capKind);
    EXPECT_EQ(lonely.Capture->Params.vidBitrate, defaults.vidBitrate);
    EXPECT_EQ(lonely.Capture->Params.capInputStr, defaults.capInputStr);
    const app::TCaptureListEntry& linked = *captures_.Items()[1];
    ASSERT_NE(linked.WebSocket.lock(), nullptr);
    EXPECT_EQ(linked.WebSocket.lock()->Idx, 5);
    EXPECT_FALSE(linked.WebSocketAct);
    EXPECT_EQ(host_->made.size(), 2u);
}

// A hand-edited share list: a comment, an editor's instruction or stray text between the entries is
// no share, as the engine reads a list whichever way it was parsed.
TEST_F(ListFileDamageTest, OnlyTheEntriesOfAShareListAreShares) {
    const std::string between = "\n      <!-- <streamer_list_entry>old camera</streamer_list_entry> -->"
                                "<?editor keep?>stray text<![CDATA[x]]>\n      ";
    fw_test::WriteFile(dir_ / "capture.xml",
                       "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>hand-edited</name><SCREENCAPTURE_PARAMS>"
                       "<streamer_list>" + between + "<streamer_list_entry><strPort>6001</strPort></streamer_list_entry>" +
                       between + "<streamer_list_entry><strPort>6002</strPort></streamer_list_entry>" + between +
                       "</streamer_list></SCREENCAPTURE_PARAMS></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    LoadAll();
    ASSERT_EQ(captures_.Count(), 1u);
    const engine::TShareList& shares = *captures_.Items()[0]->Capture->Streamers;
    ASSERT_EQ(shares.Count(), 2u);
    EXPECT_EQ(shares.Items()[0]->Port, 6001);
    EXPECT_EQ(shares.Items()[1]->Port, 6002);
    EXPECT_TRUE(KeptAside(PathOf("capture.xml")).empty());
}

TEST_F(ListFileDamageTest, NothingIsReadOrWrittenWithoutAFreeDocument) {
    engine::TXmlDocPool full(1);
    std::vector<pugi::xml_document*> taken;
    while (pugi::xml_document* doc = full.GetDocument()) taken.push_back(doc);
    fw_test::WriteFile(dir_ / "wsocket.xml", kThreeSockets);
    app::LoadWebSocketList(&full, PathOf("wsocket.xml"), *host_, sockets_);
    EXPECT_EQ(sockets_.Count(), 0u);
    EXPECT_FALSE(app::SaveWebSocketList(&full, PathOf("wsocket.xml"), sockets_));
    EXPECT_EQ(fw_test::ReadFile(dir_ / "wsocket.xml"), kThreeSockets);
    EXPECT_TRUE(KeptAside(PathOf("wsocket.xml")).empty());
    for (auto* doc : taken) full.ReleaseDocument(doc);
}

// A list file the user made read-only is not replaced: it keeps its bytes and its mode, and the
// failed save is logged.
TEST_F(ListFileDamageTest, AReadOnlyListFileStaysAsItWas) {
    const std::vector<std::pair<std::string, std::function<bool()>>> saves = {
        {"capture.xml", [&] { return app::SaveCaptureList(&pool_, PathOf("capture.xml"), captures_); }},
        {"httpserv.xml", [&] { return app::SaveHttpServerList(&pool_, PathOf("httpserv.xml"), servers_); }},
        {"wsocket.xml", [&] { return app::SaveWebSocketList(&pool_, PathOf("wsocket.xml"), sockets_); }},
    };
    for (const auto& [name, save] : saves) {
        const std::string kept = "<?xml version=\"1.0\"?>\n<!-- " + name + ", mine -->\n";
        fw_test::WriteFile(dir_ / name, kept);
        fs::permissions(dir_ / name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        EXPECT_FALSE(save()) << name;
        EXPECT_EQ(fw_test::ReadFile(dir_ / name), kept) << name;
        EXPECT_EQ(fs::status(dir_ / name).permissions(),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read)
            << name;
        EXPECT_TRUE(AnyLineHas(LogLines(), "[" + name + "] not written: cannot replace")) << name;
    }
}

TEST_F(ListFileDamageTest, ASaveIntoAMissingFolderFailsAndLogs) {
    EXPECT_FALSE(app::SaveWebSocketList(&pool_, PathOf("gone/wsocket.xml"), sockets_));
    EXPECT_TRUE(AnyLineHas(LogLines(), "[wsocket.xml] not written"));
}

}  // namespace
