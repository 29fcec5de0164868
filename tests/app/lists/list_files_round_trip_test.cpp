// The three list files written and read back with several entries of non-default values: every stored
// field comes back, the links between the lists are made again, and the files are the owner's alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/lists/capture_list_file.h"
#include "app/lists/http_server_list_file.h"
#include "app/lists/web_socket_list_file.h"
#include "engine/settings/counters.h"
#include "tests/app/lists/list_file_fixture.h"

namespace {

namespace fs = std::filesystem;
using fw_test::ListFileTest;

constexpr int32_t kLanAddress = -1062731510;  // 192.168.1.10

class ListFilesRoundTripTest : public ListFileTest {
protected:
    // Two web servers, three web sockets and two capture services, none with default values.
    void FillLists() {
        auto first = host_->CreateHttpServer(3);
        first->SetIpAddr(static_cast<uint32_t>(kLanAddress));
        first->SetPort(8081);
        first->Root = PathOf("root3") + "/";
        first->ExtHttpServer = true;
        first->Authentication = true;
        first->User = "anna";
        first->Password = "p&ss<word>";
        fw_test::WriteFile(dir_ / "template.html", "<html>mine</html>");
        first->SetIndexHtml(PathOf("template.html"));
        first->FileList = {PathOf("a.css"), PathOf("b.js")};
        servers_.Append(std::make_shared<app::THttpServerEntry>(std::move(first), true));
        auto second = host_->CreateHttpServer(5);
        second->SetPort(9000);
        second->Root = PathOf("root5") + "/";
        second->SetIndexHtml("");  // the program's default page
        servers_.Append(std::make_shared<app::THttpServerEntry>(std::move(second), false));

        const struct {
            int32_t idx, addr, port;
            bool active;
            const char* name;
        } sockets[] = {{4, kLanAddress, 8081, true, "Küche"}, {2, 0, 8082, false, "Hall"}, {7, 2130706433, 9001, true, "Büro"}};
        for (const auto& s : sockets) {
            auto entry = std::make_shared<app::TWebSocketEntry>();
            entry->Idx = s.idx;
            entry->Addr = s.addr;
            entry->Port = s.port;
            entry->Active = s.active;
            entry->Name = s.name;
            entry->Graph = host_->CreateWebSocketGraph();
            sockets_.Append(entry);
        }

        auto capture = app::NewCaptureEntry(*host_);
        capture->Name = "Desk <1> & more";
        capture->Minimized = true;
        capture->AutoStart = true;
        capture->Capture->Params.capKind = engine::kCapKindArea;
        capture->Capture->Params.iLeft = -40;
        capture->Capture->Params.vidBitrate = 2000;
        engine::PCaptureStreamer http = capture->Capture->Streamers->AddStreamer();
        http->Protocol = engine::kShareProtocolHttp;
        http->HttpServer = servers_.Items()[1];
        http->SubDir = "desk";
        engine::PCaptureStreamer udp = capture->Capture->Streamers->AddStreamer();
        udp->IpAddr = kLanAddress;
        udp->Port = 50123;
        capture->WebSocket = sockets_.Items()[2];
        capture->WebSocketAct = true;
        captures_.Append(std::move(capture));

        auto plain = app::NewCaptureEntry(*host_);
        plain->Name = "Plain";
        plain->Capture->Streamers->AddStreamer();
        captures_.Append(std::move(plain));
    }

    void SaveAll() {
        ASSERT_TRUE(app::SaveCaptureList(&pool_, PathOf("capture.xml"), captures_));
        ASSERT_TRUE(app::SaveWebSocketList(&pool_, PathOf("wsocket.xml"), sockets_));
        ASSERT_TRUE(app::SaveHttpServerList(&pool_, PathOf("httpserv.xml"), servers_));
    }
};

TEST_F(ListFilesRoundTripTest, EveryStoredFieldComesBack) {
    FillLists();
    SaveAll();
    const std::string indexCopy = servers_.Items()[0]->Server->IndexHtml();
    servers_.Clear();
    sockets_.Clear();
    captures_.Clear();
    host_->made.clear();
    LoadAll();
    EXPECT_TRUE(LogLines().empty());

    ASSERT_EQ(servers_.Count(), 2u);
    const engine::TCaptureHttpServer& s3 = *servers_.Items()[0]->Server;
    EXPECT_TRUE(servers_.Items()[0]->AutoStart);
    EXPECT_EQ(s3.Idx(), 3);
    EXPECT_EQ(static_cast<int32_t>(s3.IpAddr()), kLanAddress);
    EXPECT_EQ(s3.Port(), 8081);
    EXPECT_EQ(s3.Root, PathOf("root3") + "/");
    EXPECT_TRUE(s3.ExtHttpServer);
    EXPECT_TRUE(s3.Authentication);
    EXPECT_EQ(s3.User, "anna");
    EXPECT_EQ(s3.Password, "p&ss<word>");
    EXPECT_EQ(s3.IndexHtml(), indexCopy);
    EXPECT_EQ(fw_test::ReadFile(s3.IndexHtml()), "<html>mine</html>");
    EXPECT_EQ(s3.FileList, (std::vector<std::string>{PathOf("a.css"), PathOf("b.js")}));
    const engine::TCaptureHttpServer& s5 = *servers_.Items()[1]->Server;
    EXPECT_FALSE(servers_.Items()[1]->AutoStart);
    EXPECT_EQ(s5.Idx(), 5);
    EXPECT_EQ(s5.Port(), 9000);
    EXPECT_FALSE(s5.Authentication);
    EXPECT_EQ(engine::NextHttpServerIndex(), 6);  // follows the last entry

    ASSERT_EQ(sockets_.Count(), 3u);
    const char* names[] = {"Küche", "Hall", "Büro"};
    const int32_t idxs[] = {4, 2, 7}, addrs[] = {kLanAddress, 0, 2130706433}, ports[] = {8081, 8082, 9001};
    const bool active[] = {true, false, true};
    for (size_t i = 0; i < 3; ++i) {
        const app::TWebSocketEntry& w = *sockets_.Items()[i];
        EXPECT_EQ(w.Idx, idxs[i]);
        EXPECT_EQ(w.Addr, addrs[i]);
        EXPECT_EQ(w.Port, ports[i]);
        EXPECT_EQ(w.Active, active[i]);
        EXPECT_EQ(w.Name, names[i]);
        ASSERT_TRUE(w.Graph);
        EXPECT_FALSE(w.Graph->Built());
    }
    EXPECT_EQ(engine::NextWebSocketIndex(), 8);  // the last entry's idx + 1, not the largest

    ASSERT_EQ(captures_.Count(), 2u);
    const app::TCaptureListEntry& desk = *captures_.Items()[0];
    EXPECT_EQ(desk.Name, "Desk <1> & more");
    EXPECT_TRUE(desk.Minimized);
    EXPECT_TRUE(desk.AutoStart);
    EXPECT_EQ(desk.Capture->Params.capKind, engine::kCapKindArea);
    EXPECT_EQ(desk.Capture->Params.iLeft, -40);
    EXPECT_EQ(desk.Capture->Params.vidBitrate, 2000);
    EXPECT_TRUE(desk.WebSocketAct);
    EXPECT_EQ(desk.WebSocket.lock(), sockets_.Items()[2]);
    ASSERT_EQ(desk.Capture->Streamers->Count(), 2u);
    const engine::TCaptureStreamer& http = *desk.Capture->Streamers->Items()[0];
    EXPECT_EQ(http.Protocol, engine::kShareProtocolHttp);
    EXPECT_EQ(http.HttpServer, servers_.Items()[1]);
    EXPECT_EQ(http.SubDir, "desk");
    const engine::TCaptureStreamer& udp = *desk.Capture->Streamers->Items()[1];
    EXPECT_EQ(udp.IpAddr, kLanAddress);
    EXPECT_EQ(udp.Port, 50123);
    EXPECT_EQ(udp.HttpServer, nullptr);
    const app::TCaptureListEntry& plain = *captures_.Items()[1];
    EXPECT_EQ(plain.Name, "Plain");
    EXPECT_FALSE(plain.WebSocketAct);
    EXPECT_EQ(plain.WebSocket.lock(), nullptr);
    EXPECT_EQ(host_->made, (std::vector<int32_t>{desk.Idx, plain.Idx}));

    // Read and written again, the files are the same to the byte.
    const std::string before = fw_test::ReadFile(PathOf("capture.xml")) + fw_test::ReadFile(PathOf("wsocket.xml")) +
                               fw_test::ReadFile(PathOf("httpserv.xml"));
    SaveAll();
    const std::string after = fw_test::ReadFile(PathOf("capture.xml")) + fw_test::ReadFile(PathOf("wsocket.xml")) +
                              fw_test::ReadFile(PathOf("httpserv.xml"));
    EXPECT_EQ(after, before);
}

// Names, users, passwords and paths come back to the byte, blanks and all.
TEST_F(ListFilesRoundTripTest, TextValuesComeBackAsTheyWere) {
    const std::string texts[] = {
        "",
        " ",
        "   ",
        "\t",
        " \t \t ",
        "  leading and trailing  ",
        "\ttabs\tinside\t",
        "Küche – 東京 ✓ ñ",
        "<a href=\"x\">&amp; 'q' ]]> &lt;</a>",
        " " + std::string(2045, 'n') + " ",
    };
    for (const std::string& text : texts) {
        const std::string what = "\"" + text.substr(0, 40) + "\" (" + std::to_string(text.size()) + " bytes)";
        servers_.Clear();
        sockets_.Clear();
        captures_.Clear();
        auto server = host_->CreateHttpServer(1);
        server->SetPort(8081);
        server->Root = text;
        server->User = text;
        server->Password = text;
        server->FileList = {text, text + "/b.js"};
        servers_.Append(std::make_shared<app::THttpServerEntry>(std::move(server), true));
        auto socket = std::make_shared<app::TWebSocketEntry>();
        socket->Idx = 1;
        socket->Port = 8080;
        socket->Name = text;
        socket->Graph = host_->CreateWebSocketGraph();
        sockets_.Append(socket);
        auto capture = app::NewCaptureEntry(*host_);
        capture->Name = text;
        capture->Capture->Params.Window.sCaption = text;
        capture->Capture->Params.Files.capFilesDir = text;
        engine::PCaptureStreamer share = capture->Capture->Streamers->AddStreamer();
        share->FtpUser = text;
        share->FtpPassword = text;
        share->FtpHostDir = text;
        share->SubDir = text;
        share->ImageDir = text;
        share->FileDir = text;
        captures_.Append(std::move(capture));
        SaveAll();
        servers_.Clear();
        sockets_.Clear();
        captures_.Clear();
        LoadAll();

        ASSERT_EQ(servers_.Count(), 1u) << what;
        const engine::TCaptureHttpServer& s = *servers_.Items()[0]->Server;
        EXPECT_EQ(s.Root, text) << what;
        EXPECT_EQ(s.User, text) << what;
        EXPECT_EQ(s.Password, text) << what;
        EXPECT_EQ(s.FileList, (std::vector<std::string>{text, text + "/b.js"})) << what;
        ASSERT_EQ(sockets_.Count(), 1u) << what;
        EXPECT_EQ(sockets_.Items()[0]->Name, text) << what;
        ASSERT_EQ(captures_.Count(), 1u) << what;
        const app::TCaptureListEntry& c = *captures_.Items()[0];
        EXPECT_EQ(c.Name, text) << what;
        EXPECT_EQ(c.Capture->Params.Window.sCaption, text) << what;
        EXPECT_EQ(c.Capture->Params.Files.capFilesDir, text) << what;
        ASSERT_EQ(c.Capture->Streamers->Count(), 1u) << what;
        const engine::TCaptureStreamer& sh = *c.Capture->Streamers->Items()[0];
        EXPECT_EQ(sh.FtpUser, text) << what;
        EXPECT_EQ(sh.FtpPassword, text) << what;
        EXPECT_EQ(sh.FtpHostDir, text) << what;
        EXPECT_EQ(sh.SubDir, text) << what;
        EXPECT_EQ(sh.ImageDir, text) << what;
        EXPECT_EQ(sh.FileDir, text) << what;
    }
}

// Indentation, tabs and line breaks between elements are no values and no entries, in files indented
// by hand as in files the program wrote.
TEST_F(ListFilesRoundTripTest, WhitespaceBetweenElementsIsIgnored) {
    fw_test::WriteFile(dir_ / "wsocket.xml",
                       "<?xml version=\"1.0\"?>\r\n<WEB_SOCKET_LIST>\r\n\t<WEB_SOCKET_LIST_ENTRY>\r\n"
                       "\t\t<idx>\n  3\n</idx>\n\t\t<iPort> 9001 </iPort>\n\t\t<sName>Hall</sName>\n"
                       "\t\t<bAct>\tTrue\t</bAct>\n\t</WEB_SOCKET_LIST_ENTRY>\n\n"
                       "    <WEB_SOCKET_LIST_ENTRY>\n        <idx>4</idx>\n        <iPort>9002</iPort>\n"
                       "        <sName>  </sName>\n"
                       "    </WEB_SOCKET_LIST_ENTRY>\n  \n</WEB_SOCKET_LIST>\n");
    fw_test::WriteFile(dir_ / "httpserv.xml",
                       "<HTTP_SERVER_LIST>\n  <HTTP_SERVER_LIST_ENTRY>\n    <idx>2</idx>\n    <port>8090</port>\n"
                       "    <User>anna</User>\n    <FileList>\n      <FileListEntry>/a.css</FileListEntry>\n"
                       "      <FileListEntry>/b.js</FileListEntry>\n    </FileList>\n"
                       "  </HTTP_SERVER_LIST_ENTRY>\n  <HTTP_SERVER_LIST_ENTRY>\n    <idx>3</idx>\n"
                       "    <port>8091</port>\n    <FileList>\n    </FileList>\n  </HTTP_SERVER_LIST_ENTRY>\n"
                       "</HTTP_SERVER_LIST>\n");
    fw_test::WriteFile(dir_ / "capture.xml",
                       "<CAPTURE_LIST>\n  <CAPTURE_LIST_ENTRY>\n    <name>Desk</name>\n    <SCREENCAPTURE_PARAMS>\n"
                       "      <capKind>3</capKind>\n      <streamer_list>\n        <streamer_list_entry>\n"
                       "          <strLocalDir>desk</strLocalDir>\n        </streamer_list_entry>\n"
                       "      </streamer_list>\n    </SCREENCAPTURE_PARAMS>\n  </CAPTURE_LIST_ENTRY>\n"
                       "  <CAPTURE_LIST_ENTRY>\n    <name>Empty shares</name>\n    <SCREENCAPTURE_PARAMS>\n"
                       "      <streamer_list>\n      </streamer_list>\n    </SCREENCAPTURE_PARAMS>\n"
                       "  </CAPTURE_LIST_ENTRY>\n  <CAPTURE_LIST_ENTRY>\n    <name>No library</name>\n"
                       "    <SCREENCAPTURE_PARAMS>\n      <capEncoder>0</capEncoder>\n"
                       "      <capVlcLibPath>/nowhere/</capVlcLibPath>\n      <streamer_list>\n      </streamer_list>\n"
                       "    </SCREENCAPTURE_PARAMS>\n  </CAPTURE_LIST_ENTRY>\n</CAPTURE_LIST>\n");
    LoadAll();
    for (const std::string& line : LogLines()) ADD_FAILURE() << line;

    ASSERT_EQ(sockets_.Count(), 2u);
    EXPECT_EQ(sockets_.Items()[0]->Idx, 3);
    EXPECT_EQ(sockets_.Items()[0]->Port, 9001);
    EXPECT_EQ(sockets_.Items()[0]->Name, "Hall");
    EXPECT_TRUE(sockets_.Items()[0]->Active);
    EXPECT_EQ(sockets_.Items()[1]->Name, "  ");
    ASSERT_EQ(servers_.Count(), 2u);
    EXPECT_EQ(servers_.Items()[0]->Server->User, "anna");
    EXPECT_EQ(servers_.Items()[0]->Server->FileList, (std::vector<std::string>{"/a.css", "/b.js"}));
    EXPECT_TRUE(servers_.Items()[1]->Server->FileList.empty());
    ASSERT_EQ(captures_.Count(), 3u);
    EXPECT_EQ(captures_.Items()[0]->Name, "Desk");
    ASSERT_EQ(captures_.Items()[0]->Capture->Streamers->Count(), 1u);
    EXPECT_EQ(captures_.Items()[0]->Capture->Streamers->Items()[0]->SubDir, "desk");
    // An empty list of shares, indented or not, gets the one default share.
    ASSERT_EQ(captures_.Items()[1]->Capture->Streamers->Count(), 1u);
    EXPECT_EQ(captures_.Items()[1]->Capture->Streamers->Items()[0]->SubDir, "host");
    // A libVLC job whose library is gone gets no default share: the blanks of its list made none either.
    EXPECT_EQ(captures_.Items()[2]->Capture->Streamers->Count(), 0u);
}

TEST_F(ListFilesRoundTripTest, ListFilesAreReadableByTheirOwnerOnly) {
    FillLists();
    fw_test::WriteFile(dir_ / "httpserv.xml", "old");
    fs::permissions(dir_ / "httpserv.xml", fs::perms::all);
    SaveAll();
    for (const char* name : {"capture.xml", "wsocket.xml", "httpserv.xml"})
        EXPECT_EQ(fs::status(dir_ / name).permissions(), fs::perms::owner_read | fs::perms::owner_write) << name;
    EXPECT_NE(fw_test::ReadFile(dir_ / "httpserv.xml").find("<Pw>p&amp;ss&lt;word&gt;</Pw>"), std::string::npos);
    for (const auto& item : fs::directory_iterator(dir_.path()))
        EXPECT_EQ(item.path().filename().string().find(".tmp-"), std::string::npos) << item.path();
}

}  // namespace
