#include "engine/ftp/ftp_mirror_cycle.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "engine/ftp/curl_ftp_session.h"
#include "tests/engine/ftp/ftp_test_server.h"
#include "tests/engine/ftp/recording_notifier.h"
#include "tests/support/test_env.h"

namespace engine {
namespace {

using fw_test::FtpTestServer;
using fw_test::RecordingNotifier;
using Clock = FtpMirrorCycle::Clock;
using std::chrono::seconds;
namespace fs = std::filesystem;

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void EmptyFolder(const fs::path& dir) {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(dir)) entries.push_back(entry.path());
    for (const fs::path& entry : entries) fs::remove_all(entry);
}

class FtpMirrorCycleTest : public ::testing::Test {
protected:
    static constexpr const char* kImageBaseName = "capimg_2130706433_8080";

    void SetUp() override { ASSERT_TRUE(server_.Start()); }

    void MakeCycle(const std::string& hostDir, int imgFreq = 5, const std::string& password = FtpTestServer::kPassword) {
        settings_.Host = server_.host();
        settings_.User = FtpTestServer::kUser;
        settings_.Password = password;
        settings_.LocalDir = local_.path().string() + "/";
        settings_.StreamName = "stream_1";
        settings_.ImageBaseName = kImageBaseName;
        settings_.HostDir = hostDir;
        settings_.ImgFreq = imgFreq;
        settings_.Log = [this](const std::string& text) { log_.push_back(text); };
        auto session = std::make_unique<CurlFtpSession>(FtpLogin{settings_.Host, settings_.User, settings_.Password});
        cycle_ = std::make_unique<FtpMirrorCycle>(settings_, std::move(session), notifier_, now_);
    }
    void Local(const std::string& name, const std::string& bytes = "data") { fw_test::WriteFile(local_ / name, bytes); }
    void RunAfter(seconds step) {
        now_ += step;
        cycle_->Run(now_);
    }
    std::string Playlist(const std::vector<std::string>& segments) {
        std::string text = "#EXTM3U\n#EXT-X-TARGETDURATION:10\n";
        for (const auto& s : segments) text += "#EXTINF:10,\nhttp://cdn.example/live/" + s + "\n";
        return text;
    }

    FtpTestServer server_;
    fw_test::TempDir local_;
    std::shared_ptr<RecordingNotifier> notifier_ = std::make_shared<RecordingNotifier>();
    TFtpUpdateSettings settings_;
    Clock::time_point now_ = Clock::now();
    std::unique_ptr<FtpMirrorCycle> cycle_;
    std::vector<std::string> log_;
};

TEST_F(FtpMirrorCycleTest, SegmentsGoUpOnePerCycleInNameOrderAndThePlaylistOnlyAfterThem) {
    const std::vector<std::string> segments = {"stream_1_00000001.ts", "stream_1_00000002.ts", "stream_1_00000003.ts"};
    for (auto it = segments.rbegin(); it != segments.rend(); ++it) Local(*it);
    Local("stream_1.m3u8", Playlist(segments));
    MakeCycle("");

    RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root()), (std::vector<std::string>{"stream_1_00000001.ts"}));
    const auto first = notifier_->TakeNotes();
    ASSERT_EQ(first.size(), 3u);  // begin, progress, upload time
    EXPECT_EQ(first[0], (RecordingNotifier::Note{cfWorkBegin, 4}));
    EXPECT_EQ(first[1], (RecordingNotifier::Note{cfWork, 4}));
    EXPECT_EQ(first[2].first, cfUploadTime);
    EXPECT_GE(first[2].second, 0);

    RunAfter(seconds(1));
    RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root()), segments);
    EXPECT_EQ(cycle_->LastPlaylist(), "");

    // Three segments are there but the server does not hold four files yet.
    RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root()).size(), 3u);
    Local("index.html", "<html/>");
    RunAfter(seconds(1));
    RunAfter(seconds(1));
    EXPECT_EQ(fw_test::ReadFile(server_.root() / "stream_1.m3u8"), Playlist(segments));
    EXPECT_EQ(cycle_->LastPlaylist(), Playlist(segments));
    EXPECT_EQ(notifier_->Count(cfError), 0u);

    // A playlist naming a segment that is not up yet waits for it.
    Local("stream_1_00000004.ts");
    const std::vector<std::string> next = {"stream_1_00000002.ts", "stream_1_00000003.ts", "stream_1_00000004.ts"};
    Local("stream_1.m3u8", Playlist(next));
    RunAfter(seconds(1));
    EXPECT_EQ(fw_test::ReadFile(server_.root() / "stream_1.m3u8"), Playlist(segments));
    RunAfter(seconds(1));
    EXPECT_EQ(fw_test::ReadFile(server_.root() / "stream_1.m3u8"), Playlist(next));
    EXPECT_FALSE(fs::exists(server_.root() / "stream_1.m3u8.part"));
}

// The segment the HLS output is filling stays local until it is closed; one that stays open is
// skipped every cycle and reported once.
TEST_F(FtpMirrorCycleTest, AFileStillOpenForWritingWaitsForItsWriter) {
    Local("index.html");
    Local("stream_1_00000001.ts", "one");
    const fs::path open = local_ / "stream_1_00000002.ts";
    const int writer = ::open(open.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "tw", 2), 2);
    MakeCycle("");
    for (int i = 0; i < 4; ++i) RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root()), (std::vector<std::string>{"index.html", "stream_1_00000001.ts"}));
    EXPECT_TRUE(log_.empty());

    RunAfter(FtpMirrorCycle::kReportOpenFileAfter);
    RunAfter(seconds(1));
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_NE(log_[0].find(open.string() + " is still open for writing"), std::string::npos) << log_[0];
    EXPECT_FALSE(fs::exists(server_.root() / open.filename()));

    ASSERT_EQ(::write(writer, "o", 1), 1);
    ::close(writer);
    RunAfter(seconds(1));
    EXPECT_EQ(fw_test::ReadFile(server_.root() / open.filename()), "two");
    EXPECT_EQ(log_.size(), 1u);
    EXPECT_EQ(notifier_->Count(cfError), 0u);
}

// A segment the server holds with another size (an empty copy left by an earlier run) is no segment
// a viewer may be sent to: it goes up again before the playlist that names it.
TEST_F(FtpMirrorCycleTest, ThePlaylistWaitsUntilEverySegmentItNamesIsWholeOnTheServer) {
    const std::vector<std::string> segments = {"stream_1_00000001.ts", "stream_1_00000002.ts", "stream_1_00000003.ts"};
    for (const std::string& segment : segments) Local(segment, std::string(3000, segment[segment.size() - 4]));
    Local("index.html");
    Local("stream_1.m3u8", Playlist(segments));
    for (const char* name : {"index.html", "stream_1_00000001.ts", "stream_1_00000002.ts"}) {
        fw_test::WriteFile(server_.root() / name, fw_test::ReadFile(local_ / name));
    }
    fw_test::WriteFile(server_.root() / "stream_1_00000003.ts", "");
    MakeCycle("");

    RunAfter(seconds(1));
    EXPECT_FALSE(fs::exists(server_.root() / "stream_1.m3u8"));
    EXPECT_EQ(fw_test::ReadFile(server_.root() / "stream_1_00000003.ts"), std::string(3000, '3'));
    RunAfter(seconds(1));
    EXPECT_EQ(fw_test::ReadFile(server_.root() / "stream_1.m3u8"), Playlist(segments));
    EXPECT_EQ(notifier_->Count(cfUploadTime), 1u);
    EXPECT_EQ(notifier_->Count(cfError), 0u);
}

// A file that goes between the listing and its upload (here: a link whose target is gone) is
// skipped without an error; the next file goes up in the same cycle.
TEST_F(FtpMirrorCycleTest, AFileGoneBeforeItsUploadIsSkippedQuietly) {
    Local("index.html");
    fs::create_symlink(local_ / "deleted.ts", local_ / "a.ts");
    Local("b.ts");
    MakeCycle("");
    RunAfter(seconds(1));
    RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root()), (std::vector<std::string>{"b.ts", "index.html"}));
    EXPECT_EQ(notifier_->Count(cfUploadTime), 2u);
    EXPECT_EQ(notifier_->Count(cfError), 0u);
}

TEST_F(FtpMirrorCycleTest, NamesGoUpInLowerCaseAndImagesAgainAfterTheirInterval) {
    Local("index.html");
    Local("Capimg_1.PNG", "png-1");
    Local("notes.txt");
    MakeCycle("Live\\Cam1", 3);
    RunAfter(seconds(1));
    RunAfter(seconds(1));
    const fs::path remote = server_.root() / "live" / "cam1";
    EXPECT_EQ(FilesIn(remote), (std::vector<std::string>{"capimg_1.png", "index.html"}));
    EXPECT_EQ(notifier_->Count(cfUploadTime), 2u);

    Local("Capimg_1.PNG", "png-2");
    RunAfter(seconds(2));
    EXPECT_EQ(fw_test::ReadFile(remote / "capimg_1.png"), "png-2");
    EXPECT_EQ(notifier_->Count(cfUploadTime), 3u);
    Local("Capimg_1.PNG", "png-3");
    RunAfter(seconds(1));
    EXPECT_EQ(fw_test::ReadFile(remote / "capimg_1.png"), "png-2");  // not three seconds since the last round
    EXPECT_EQ(notifier_->Count(cfError), 0u);
}

TEST_F(FtpMirrorCycleTest, ImageIntervalZeroSendsTheImagesEveryCycle) {
    Local("index.html");
    Local("capimg_1.jpg", "a");
    MakeCycle("", 0);
    RunAfter(seconds(1));
    for (const char* bytes : {"b", "c"}) {
        Local("capimg_1.jpg", bytes);
        RunAfter(seconds(1));
        EXPECT_EQ(fw_test::ReadFile(server_.root() / "capimg_1.jpg"), bytes);
    }
}

TEST_F(FtpMirrorCycleTest, VanishedFilesAreDeletedAfterThirtySecondsAndOnlyTheMirrorsOwn) {
    fw_test::WriteFile(server_.root() / "foreign.ts", "not ours");
    Local("index.html");
    Local("a.ts");
    Local("b.ts");
    MakeCycle("");
    for (int i = 0; i < 3; ++i) RunAfter(seconds(1));
    ASSERT_EQ(FilesIn(server_.root()), (std::vector<std::string>{"a.ts", "b.ts", "foreign.ts", "index.html"}));

    fs::remove(local_ / "a.ts");
    fs::remove(local_ / "b.ts");
    RunAfter(seconds(1));
    EXPECT_EQ(cycle_->QueuedDeletes(), (std::vector<std::string>{"a.ts", "b.ts"}));
    Local("b.ts");  // comes back before its deletion is due
    RunAfter(seconds(30));
    EXPECT_TRUE(fs::exists(server_.root() / "a.ts"));
    RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root()), (std::vector<std::string>{"b.ts", "foreign.ts", "index.html"}));
    EXPECT_TRUE(cycle_->QueuedDeletes().empty());
    EXPECT_EQ(notifier_->Count(cfError), 0u);

    // Clearing at the end removes what the mirror put there and nothing else.
    fs::create_directories(server_.root() / "keep");
    cycle_->Finish(true);
    EXPECT_EQ(FilesIn(server_.root()), (std::vector<std::string>{"foreign.ts"}));
    EXPECT_TRUE(fs::is_directory(server_.root() / "keep"));
}

// What an earlier run of the share left, and other people's files beside it. In a host folder of the
// share's own everything that stands for no local file goes once it has been missing for more than
// half a minute; in the server's root only the share's own names go, however long the mirror runs.
// A name that differs from the share's only in letter case is another file.
TEST_F(FtpMirrorCycleTest, LeftoversGoHalfAMinuteAfterTheFirstCycleAndStrangersInTheRootStay) {
    const std::vector<std::string> leftovers = {"capimg_2130706433_8080.jpg.part", "capimg_2130706433_8080.png",
                                                "stream_1.m3u8", "stream_1_00000041.ts", "stream_1_00000042.ts.part"};
    const std::vector<std::string> strangers = {"STREAM_1_00000041.TS", "Stream_1.m3u8", "capimg_2130706433_8081.png",
                                                "site.html", "stream_12_00000001.ts", "stream_1_00000041.ts.bak"};
    const std::vector<std::string> mirrored = {"Readme.TXT", "index.html", "stream_1_00000043.ts"};
    const struct {
        const char* hostDir;
        const char* remoteDir;
        bool strangersStay;
    } cases[] = {{"Live", "live", false}, {"", "", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hostDir);
        EmptyFolder(server_.root());
        EmptyFolder(local_.path());
        const fs::path remote = server_.root() / c.remoteDir;
        fs::create_directories(remote);
        for (const auto& name : leftovers) fw_test::WriteFile(remote / name, "earlier run");
        for (const auto& name : strangers) fw_test::WriteFile(remote / name, "not the share's");
        fw_test::WriteFile(remote / "Readme.TXT", "the local file's own name");
        Local("Readme.TXT");
        Local("index.html");
        Local("stream_1_00000043.ts");
        MakeCycle(c.hostDir);

        RunAfter(seconds(1));   // the first cycle finds them
        RunAfter(seconds(30));  // not more than 30 whole seconds yet
        std::vector<std::string> everything = mirrored;
        everything.insert(everything.end(), leftovers.begin(), leftovers.end());
        everything.insert(everything.end(), strangers.begin(), strangers.end());
        std::sort(everything.begin(), everything.end());
        EXPECT_EQ(FilesIn(remote), everything);

        RunAfter(seconds(1));
        std::vector<std::string> kept = mirrored;
        if (c.strangersStay) kept.insert(kept.end(), strangers.begin(), strangers.end());
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(FilesIn(remote), kept);
        for (int i = 0; i < 3; ++i) RunAfter(seconds(40));
        EXPECT_EQ(FilesIn(remote), kept);
        EXPECT_EQ(fw_test::ReadFile(remote / "Readme.TXT"), "the local file's own name");
        EXPECT_EQ(notifier_->Count(cfError), 0u);

        // Clearing at the end: the mirror's own copies go, Readme.TXT (never uploaded) and strangers stay.
        cycle_->Finish(true);
        std::vector<std::string> afterClearing = {"Readme.TXT"};
        if (c.strangersStay) afterClearing.insert(afterClearing.end(), strangers.begin(), strangers.end());
        std::sort(afterClearing.begin(), afterClearing.end());
        EXPECT_EQ(FilesIn(remote), afterClearing);
        if (c.strangersStay) {
            for (const auto& name : strangers) EXPECT_EQ(fw_test::ReadFile(remote / name), "not the share's") << name;
        }
    }
}

TEST_F(FtpMirrorCycleTest, AnExistingHostFolderReportedWithoutSlashIsUsedAsItIs) {
    fs::create_directories(server_.root() / "live");
    Local("index.html");
    MakeCycle("live/");
    RunAfter(seconds(1));
    EXPECT_EQ(FilesIn(server_.root() / "live"), (std::vector<std::string>{"index.html"}));
    EXPECT_TRUE(FilesIn(server_.root()).empty());
}

TEST_F(FtpMirrorCycleTest, WrongPasswordPostsConnectErrorEveryCycle) {
    Local("index.html");
    MakeCycle("", 5, "wrong");
    RunAfter(seconds(1));
    RunAfter(seconds(1));
    EXPECT_EQ(notifier_->notes(), (std::vector<RecordingNotifier::Note>{{cfError, cfErrConnect}, {cfError, cfErrConnect}}));
}

TEST(FtpMirrorCycleReadOnly, AHostFolderThatCannotBeMadeIsReported) {
    FtpTestServer server(fw_test::FtpTestServerOptions{.readOnly = true});
    ASSERT_TRUE(server.Start());
    fw_test::TempDir local;
    fw_test::WriteFile(local / "index.html", "x");
    TFtpUpdateSettings settings;
    settings.Host = server.host();
    settings.User = FtpTestServer::kUser;
    settings.Password = FtpTestServer::kPassword;
    settings.LocalDir = local.path().string() + "/";
    settings.StreamName = "stream_1";
    settings.HostDir = "live/";
    auto notifier = std::make_shared<RecordingNotifier>();
    FtpMirrorCycle cycle(settings, std::make_unique<CurlFtpSession>(FtpLogin{settings.Host, settings.User, settings.Password}),
                         notifier, Clock::now());
    cycle.Run(Clock::now() + seconds(1));
    EXPECT_EQ(notifier->notes(), (std::vector<RecordingNotifier::Note>{{cfError, cfErrHostDir}}));
    EXPECT_FALSE(fs::exists(server.root() / "live"));
}

}  // namespace
}  // namespace engine
