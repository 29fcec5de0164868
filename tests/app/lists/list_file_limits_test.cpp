// List files beyond what any real configuration holds: more entries than are read, nested lists too
// long, values longer than a value can be. What is left out is logged, the rest is read, and the file
// is kept aside whole so that the next save does not replace it with less.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/lists/capture_list_file.h"
#include "app/lists/http_server_list_file.h"
#include "app/lists/list_file_limits.h"
#include "app/lists/web_socket_list_file.h"
#include "tests/app/lists/list_file_fixture.h"

namespace {

namespace fs = std::filesystem;
using fw_test::ListFileTest;

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

std::string Repeat(const std::string& part, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += part;
    return text;
}

std::string SocketEntry(size_t idx) {
    return "<WEB_SOCKET_LIST_ENTRY><idx>" + std::to_string(idx) + "</idx><iPort>" + std::to_string(9000 + idx) +
           "</iPort><sName>s" + std::to_string(idx) + "</sName></WEB_SOCKET_LIST_ENTRY>";
}
std::string ServerEntry(size_t idx) {
    return "<HTTP_SERVER_LIST_ENTRY><idx>" + std::to_string(idx) + "</idx><port>" + std::to_string(9000 + idx) +
           "</port></HTTP_SERVER_LIST_ENTRY>";
}
std::string CaptureEntry(size_t idx, const std::string& shares = "") {
    return "<CAPTURE_LIST_ENTRY><name>c" + std::to_string(idx) +
           "</name><autostart>True</autostart><SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder>" + shares +
           "</SCREENCAPTURE_PARAMS></CAPTURE_LIST_ENTRY>";
}
std::string Shares(size_t count) {
    const std::string share = "<streamer_list_entry><strProtocol>0</strProtocol></streamer_list_entry>";
    return "<streamer_list>" + Repeat(share, count) + "</streamer_list>";
}

enum class TList { Sockets, Servers, Captures };

// One list file, as a table row: its name and root, one entry, its limit and which list it fills.
struct TListCase {
    const char* File;
    const char* Root;
    std::function<std::string(size_t idx)> Entry;
    size_t Limit;
    TList List;
};

class ListFileLimitsTest : public ListFileTest, public ::testing::WithParamInterface<TListCase> {
protected:
    std::string FileOf(size_t entries) const {
        const TListCase& c = GetParam();
        std::string xml = std::string("<") + c.Root + ">";
        for (size_t i = 1; i <= entries; ++i) xml += c.Entry(i);
        return xml + "</" + c.Root + ">";
    }
    // Reads the file; the entries read, each the one of its place in the file.
    size_t Load() {
        const std::string path = PathOf(GetParam().File);
        switch (GetParam().List) {
            case TList::Sockets:
                app::LoadWebSocketList(&pool_, path, *host_, sockets_);
                EXPECT_EQ(sockets_.Items().back()->Name, "s" + std::to_string(sockets_.Count()));
                return sockets_.Count();
            case TList::Servers:
                app::LoadHttpServerList(&pool_, path, *host_, servers_);
                EXPECT_EQ(servers_.Items().back()->Server->Idx(), static_cast<int>(servers_.Count()));
                return servers_.Count();
            case TList::Captures:
                app::LoadCaptureList(&pool_, path, *host_, servers_, sockets_, captures_);
                EXPECT_EQ(host_->made.size(), captures_.Count());  // each one listed with the job made for it
                EXPECT_EQ(captures_.Items().back()->Name, "c" + std::to_string(captures_.Count()));
                return captures_.Count();
        }
        return 0;
    }
};

TEST_P(ListFileLimitsTest, AFileAtTheLimitIsReadWhole) {
    const TListCase& c = GetParam();
    fw_test::WriteFile(dir_ / c.File, FileOf(c.Limit));
    EXPECT_EQ(Load(), c.Limit);
    EXPECT_TRUE(KeptAside(PathOf(c.File)).empty());
    EXPECT_TRUE(LogLines().empty());
}

TEST_P(ListFileLimitsTest, EntriesBeyondTheLimitAreLeftOutLoggedAndTheFileKeptAside) {
    const TListCase& c = GetParam();
    const std::string bytes = FileOf(c.Limit + 7);
    fw_test::WriteFile(dir_ / c.File, bytes);
    EXPECT_EQ(Load(), c.Limit);  // the first ones, in file order
    const std::vector<std::string> log = LogLines();
    EXPECT_TRUE(AnyLineHas(log, std::string("[") + c.File + "] 7 entries after the first " + std::to_string(c.Limit) +
                                    " are left out"));
    const std::vector<fs::path> kept = KeptAside(PathOf(c.File));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(fw_test::ReadFile(kept[0]), bytes);
    EXPECT_TRUE(AnyLineHas(log, "the file is kept as " + kept[0].filename().string()));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListFileLimitsTest,
    ::testing::Values(
        TListCase{"wsocket.xml", "WEB_SOCKET_LIST", SocketEntry, app::kMaxListEntries, TList::Sockets},
        TListCase{"httpserv.xml", "HTTP_SERVER_LIST", ServerEntry, app::kMaxListEntries, TList::Servers},
        TListCase{"capture.xml", "CAPTURE_LIST", [](size_t idx) { return CaptureEntry(idx); },
                  app::kMaxCaptureServices, TList::Captures}),
    [](const ::testing::TestParamInfo<TListCase>& info) {
        std::string name = info.param.Root;
        name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
        return name;
    });

using ListValueLimitsTest = ListFileTest;

const std::string kTooLong(app::kMaxListTextBytes + 1, 'x');

TEST_F(ListValueLimitsTest, AValueTooLongIsLeftOutAloneAndTheRestOfItsEntryIsRead) {
    // A path cut short could name another folder; this one would, cut at the limit, name foreign/.
    const fs::path foreign = dir_ / "foreign";
    fs::create_directories(foreign);
    const std::string foreignRoot = foreign.string() + Repeat("/.", app::kMaxListTextBytes);
    fw_test::WriteFile(dir_ / "wsocket.xml", "<WEB_SOCKET_LIST><WEB_SOCKET_LIST_ENTRY><idx>4</idx><iPort>9004</iPort>"
                                             "<sName>" + kTooLong + "</sName><bAct>True</bAct></WEB_SOCKET_LIST_ENTRY>"
                                             "</WEB_SOCKET_LIST>");
    fw_test::WriteFile(dir_ / "httpserv.xml",
                       "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>3</idx><port>9003</port><root>" + foreignRoot +
                           "</root><User>u</User><Pw>" + kTooLong + "</Pw><auto>True</auto></HTTP_SERVER_LIST_ENTRY>"
                           "</HTTP_SERVER_LIST>");
    fw_test::WriteFile(dir_ / "capture.xml",
                       "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>" + kTooLong + "</name><autostart>True</autostart>"
                       "<SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder><sCaption>" + kTooLong + "</sCaption>"
                       "<streamer_list><streamer_list_entry><strLocalDir>" + kTooLong + "</strLocalDir>"
                       "<strPort>8123</strPort></streamer_list_entry></streamer_list></SCREENCAPTURE_PARAMS>"
                       "</CAPTURE_LIST_ENTRY>" + CaptureEntry(2) + "</CAPTURE_LIST>");
    LoadAll();

    ASSERT_EQ(sockets_.Count(), 1u);
    EXPECT_EQ(sockets_.Items()[0]->Name, "");
    EXPECT_EQ(sockets_.Items()[0]->Port, 9004);
    EXPECT_TRUE(sockets_.Items()[0]->Active);

    ASSERT_EQ(servers_.Count(), 1u);
    const engine::TCaptureHttpServer& server = *servers_.Items()[0]->Server;
    EXPECT_EQ(server.Root, "");  // its own default root, not the foreign folder
    EXPECT_EQ(server.Password, "");
    EXPECT_EQ(server.User, "u");
    EXPECT_EQ(server.Port(), 9003);
    EXPECT_TRUE(fs::is_empty(foreign));

    ASSERT_EQ(captures_.Count(), 2u);
    const app::TCaptureListEntry& first = *captures_.Items()[0];
    EXPECT_EQ(first.Name, "");
    EXPECT_TRUE(first.AutoStart);
    EXPECT_EQ(first.Capture->Params.capEncoder, 2);
    EXPECT_EQ(first.Capture->Params.Window.sCaption, captures_.Items()[1]->Capture->Params.Window.sCaption);  // the default
    ASSERT_EQ(first.Capture->Streamers->Count(), 1u);
    EXPECT_NE(first.Capture->Streamers->Items()[0]->SubDir, kTooLong);  // a new share's own
    EXPECT_EQ(first.Capture->Streamers->Items()[0]->Port, 8123);
    EXPECT_EQ(captures_.Items()[1]->Name, "c2");

    const std::vector<std::string> log = LogLines();
    const std::string tooLong =
        " is left out: its text is longer than " + std::to_string(app::kMaxListTextBytes) + " bytes";
    for (const char* line : {"[wsocket.xml] entry 1: sName", "[httpserv.xml] entry 1: root",
                             "[httpserv.xml] entry 1: Pw", "[capture.xml] entry 1: name",
                             "[capture.xml] entry 1: sCaption", "[capture.xml] entry 1: strLocalDir"})
        EXPECT_TRUE(AnyLineHas(log, line + tooLong)) << line;
    for (const char* file : {"wsocket.xml", "httpserv.xml", "capture.xml"})
        EXPECT_EQ(KeptAside(PathOf(file)).size(), 1u) << file;
}

TEST_F(ListValueLimitsTest, AValueAtTheLimitIsRead) {
    const std::string longest(app::kMaxListTextBytes, 'n');
    fw_test::WriteFile(dir_ / "capture.xml", "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>" + longest +
                                                 "</name></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    LoadAll();
    ASSERT_EQ(captures_.Count(), 1u);
    EXPECT_EQ(captures_.Items()[0]->Name, longest);
    EXPECT_TRUE(KeptAside(PathOf("capture.xml")).empty());
}

TEST_F(ListValueLimitsTest, SharesBeyondTheLimitOfTheWholeFileAreLeftOut) {
    // Within each capture service's list the limit is not reached; together they go beyond it.
    const size_t first = app::kMaxNestedListItems - 10;
    fw_test::WriteFile(dir_ / "capture.xml", "<CAPTURE_LIST>" + CaptureEntry(1, Shares(first)) +
                                                 CaptureEntry(2, Shares(30)) + CaptureEntry(3, Shares(1)) +
                                                 "</CAPTURE_LIST>");
    LoadAll();
    ASSERT_EQ(captures_.Count(), 3u);
    EXPECT_EQ(captures_.Items()[0]->Capture->Streamers->Count(), first);
    EXPECT_EQ(captures_.Items()[1]->Capture->Streamers->Count(), 10u);
    // A capture service left without any share gets its default one, as any without shares.
    EXPECT_EQ(captures_.Items()[2]->Capture->Streamers->Count(), 1u);
    const std::vector<std::string> log = LogLines();
    EXPECT_TRUE(AnyLineHas(log, "[capture.xml] entry 2: 20 of its streamer_list items are left out"));
    EXPECT_TRUE(AnyLineHas(log, "[capture.xml] entry 3: 1 of its streamer_list items are left out"));
    EXPECT_EQ(KeptAside(PathOf("capture.xml")).size(), 1u);
}

}  // namespace
