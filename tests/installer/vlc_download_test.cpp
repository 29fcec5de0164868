// The download of the release archive from a loopback HTTP server: the saved file, the progress and
// size messages to the install window, redirects (also to a loopback HTTPS server), the outcomes the
// window tells apart, time-outs and abort, and that a failed download never leaves a partial archive or
// touches the previous one.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <vector>

#include "installer/CurlHttpClient.h"
#include "installer/DownloadNaming.h"
#include "installer/InstallerMessages.h"
#include "installer/VlcDownload.h"
#include "platform/ui/message_target.h"
#include "tests/installer/installer_test_support.h"
#include "tests/installer/zip/zip_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
using installer_test::SpinFor;
using installer_test::SpinUntil;
namespace fs = std::filesystem;

// Stands in for the install window: collects its 0xAB90 messages.
class TWindowMessages {
public:
    TWindowMessages() : target_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
          if (msg == kInstallerMessage) (wParam == kDownloadSize ? sizes : progress).push_back(lParam);
      }) {}
    platform::WindowHandle Handle() const { return target_.Handle(); }
    std::vector<int64_t> sizes;
    std::vector<int64_t> progress;

private:
    platform::MessageTarget target_;
};

class VlcDownloadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installer_test::EnsureQtApplication(); }

    void SetUp() override {
        archive = zip_test::SampleData(300000, 7);
        fs::create_directories(root.path() / "pub/videolan/vlc/3.0/win32");
        fw_test::WriteFile(root.path() / installer_test::ArchivePath("3.0").substr(1), archive);
        server.emplace(root.path());
        ASSERT_TRUE(server->Running());
        zipFile = (downloads / "vlc.zip").string();
    }

    TDownloadRequest Request(const std::string& path, THttpLimits limits = {}) {
        TDownloadRequest request;
        request.Url = server->Url(path);
        request.ZipFileName = zipFile;
        request.ProgressTarget = window.Handle();
        request.Limits = limits;
        return request;
    }

    // Runs one download to its outcome (none when it did not come in time).
    std::optional<TDownloadResult> Run(TDownloadRequest request, std::shared_ptr<THttpClient> client = nullptr) {
        std::optional<TDownloadResult> outcome;
        TVlcDownload download(std::move(request), [&](TVlcDownload&, const TDownloadResult& r) { outcome = r; }, client);
        EXPECT_TRUE(download.Start());
        SpinUntil([&] { return outcome.has_value() && download.Ended(); });
        SpinFor(std::chrono::milliseconds(20));  // messages posted last come in too
        return outcome;
    }

    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(downloads.path()))
            if (entry.path().filename() != "vlc.zip") names.push_back(entry.path().filename().string());
        return names;
    }

    fw_test::TempDir root;
    fw_test::TempDir downloads;
    std::optional<installer_test::TTestHttpServer> server;
    TWindowMessages window;
    std::string archive;
    std::string zipFile;
};

TEST_F(VlcDownloadTest, ArchiveIsSavedAndTheWindowSeesItsSizeAndProgress) {
    fw_test::WriteFile(zipFile, "the archive of an earlier download");
    const auto outcome = Run(Request(installer_test::ArchivePath("3.0")));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, TDownloadStatus::Downloaded);
    EXPECT_EQ(outcome->ZipFileName, zipFile);
    EXPECT_EQ(outcome->Bytes, int64_t(archive.size()));
    EXPECT_EQ(fw_test::ReadFile(zipFile), archive);
    EXPECT_TRUE(Leftovers().empty());

    EXPECT_EQ(window.sizes, std::vector<int64_t>{int64_t(archive.size())});
    ASSERT_FALSE(window.progress.empty());
    EXPECT_EQ(window.progress.back(), int64_t(archive.size()));
    for (size_t i = 1; i < window.progress.size(); ++i) EXPECT_LT(window.progress[i - 1], window.progress[i]);
}

TEST_F(VlcDownloadTest, RedirectsAreFollowedAndAMissingLengthIsSentAsMinusOne) {
    auto outcome = Run(Request("/redirect" + installer_test::ArchivePath("3.0")));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, TDownloadStatus::Downloaded);
    EXPECT_EQ(fw_test::ReadFile(zipFile), archive);

    window.sizes.clear();
    fs::remove(zipFile);
    outcome = Run(Request("/nolength" + installer_test::ArchivePath("3.0")));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, TDownloadStatus::Downloaded);
    EXPECT_EQ(fw_test::ReadFile(zipFile), archive);
    EXPECT_EQ(window.sizes, std::vector<int64_t>{-1});
}

// A mirror that moves the download to HTTPS: the redirect is followed and the answer verified. The
// HTTPS server's certificate is made here; a client that trusts it gets the archive, one that trusts
// only the system's certificates does not, so the bytes really came over the verified TLS connection.
TEST_F(VlcDownloadTest, RedirectFromHttpToHttpsIsFollowedAndVerified) {
    fw_test::TempDir keys;
    const auto certificate = installer_test::MakeTestCertificate(keys.path());
    ASSERT_TRUE(certificate) << "openssl could not make a certificate";
    installer_test::TTestHttpServer tls(root.path(), {&*certificate});
    ASSERT_TRUE(tls.Running());
    const std::string toHttps = "/location/" + tls.Url(installer_test::ArchivePath("3.0"));
    const std::string toHttpsAndBack =
        "/location/" + tls.Url("/location/" + server->Url(installer_test::ArchivePath("3.0")));
    const auto trusting = std::make_shared<TCurlHttpClient>(certificate->Cert.string());

    for (const std::string& path : {toHttps, toHttpsAndBack}) {
        window.sizes.clear();
        fs::remove(zipFile);
        const auto outcome = Run(Request(path), trusting);
        ASSERT_TRUE(outcome) << path;
        EXPECT_EQ(outcome->Status, TDownloadStatus::Downloaded) << path;
        EXPECT_TRUE(fw_test::ReadFile(zipFile) == archive) << path;
        EXPECT_EQ(window.sizes, std::vector<int64_t>{int64_t(archive.size())})
            << "HEAD followed the redirect: " << path;
    }

    fs::remove(zipFile);
    const auto untrusted = Run(Request(toHttps));
    ASSERT_TRUE(untrusted);
    EXPECT_EQ(untrusted->Status, TDownloadStatus::DownloadFailed);
    EXPECT_FALSE(fs::exists(zipFile));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(VlcDownloadTest, FailedDownloadsKeepThePreviousArchiveAndLeaveNoPartialFile) {
    THttpLimits quick;
    quick.StallTimeoutSeconds = 1;
    THttpLimits small;
    small.MaxBodyBytes = 1000;
    const std::string elsewhere = "127.0.0.1:" + std::to_string(fw_test::FreeTcpPort());
    const struct {
        std::string url;
        THttpLimits limits;
        const char* why;
        TDownloadStatus status = TDownloadStatus::DownloadFailed;
    } cases[] = {
        {server->Url("/pub/videolan/vlc/9.9/win32/vlc-9.9-win32.zip"), {}, "404", TDownloadStatus::NotOffered},
        {server->Url("/redirect/pub/videolan/vlc/9.9/win32/vlc-9.9-win32.zip"), {}, "404 after a redirect",
         TDownloadStatus::NotOffered},
        {server->Url("/empty"), {}, "empty answer"},
        {server->Url("/broken"), {}, "answer shorter than its length"},
        {server->Url("/stall"), quick, "answer that stops coming"},
        {server->Url(installer_test::ArchivePath("3.0")), small, "answer larger than allowed"},
        {server->Url("/nolength" + installer_test::ArchivePath("3.0")), small, "larger, without a length"},
        {"http://" + elsewhere + "/vlc.zip", {}, "nothing listens"},
        {"ftp://127.0.0.1/vlc.zip", {}, "not plain HTTP"},
        {"https://" + server->Server() + installer_test::ArchivePath("3.0"), {}, "HTTPS from the start"},
        {server->Url("/location/ftp://" + elsewhere + "/vlc.zip"), {}, "redirect to FTP"},
        {server->Url("/location/file://" + (root / installer_test::ArchivePath("3.0").substr(1)).string()), {},
         "redirect to a local file"},
    };
    for (const auto& c : cases) {
        fw_test::WriteFile(zipFile, "previous archive");
        TDownloadRequest request = Request("/");
        request.Url = c.url;
        request.Limits = c.limits;
        const auto outcome = Run(request);
        ASSERT_TRUE(outcome) << c.why;
        EXPECT_EQ(outcome->Status, c.status) << c.why;
        EXPECT_EQ(fw_test::ReadFile(zipFile), "previous archive") << c.why;
        EXPECT_TRUE(Leftovers().empty()) << c.why;
    }
}

TEST_F(VlcDownloadTest, ArchiveThatCannotBeWrittenIsASaveFailure) {
    TDownloadRequest request = Request(installer_test::ArchivePath("3.0"));
    request.ZipFileName = (downloads / "no_such_folder" / "vlc.zip").string();
    auto outcome = Run(request);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, TDownloadStatus::SaveFailed);

    // The name is taken by a folder: the finished download cannot be renamed onto it.
    fs::create_directories(downloads / "vlc.zip" / "inside");
    outcome = Run(Request(installer_test::ArchivePath("3.0")));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, TDownloadStatus::SaveFailed);
    EXPECT_TRUE(fs::is_directory(downloads / "vlc.zip" / "inside"));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(VlcDownloadTest, AbortStopsARunningTransferWithoutAnOutcome) {
    fw_test::WriteFile(zipFile, "previous archive");
    bool called = false;
    TVlcDownload download(Request("/stall"), [&](TVlcDownload&, const TDownloadResult&) { called = true; });
    ASSERT_TRUE(download.Start());
    ASSERT_TRUE(SpinUntil([&] { return !window.progress.empty() && window.progress.back() > 0; }));
    download.Abort();
    EXPECT_TRUE(SpinUntil([&] { return download.Ended(); }, std::chrono::seconds(5)));
    SpinFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(called);
    EXPECT_FALSE(download.Start()) << "one download per object";
    EXPECT_EQ(fw_test::ReadFile(zipFile), "previous archive");
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(VlcDownloadTest, OwnerThatGoesDuringTheTransferIsNotCalled) {
    bool called = false;
    auto download = std::make_unique<TVlcDownload>(Request("/stall"), [&](TVlcDownload&, const TDownloadResult&) { called = true; });
    ASSERT_TRUE(download->Start());
    ASSERT_TRUE(SpinUntil([&] { return !window.progress.empty(); }));
    download.reset();
    // The thread ends by itself and removes its temporary file.
    EXPECT_TRUE(SpinUntil([&] { return Leftovers().empty(); }, std::chrono::seconds(5)));
    SpinFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(called);
}

TEST_F(VlcDownloadTest, HandlerMayDestroyItsDownload) {
    std::unique_ptr<TVlcDownload> download;
    std::optional<TDownloadStatus> status;
    download = std::make_unique<TVlcDownload>(Request(installer_test::ArchivePath("3.0")),
                                              [&](TVlcDownload&, const TDownloadResult& r) {
                                                  status = r.Status;
                                                  download.reset();  // as the window lets its download go
                                              });
    ASSERT_TRUE(download->Start());
    ASSERT_TRUE(SpinUntil([&] { return status.has_value(); }));
    EXPECT_EQ(*status, TDownloadStatus::Downloaded);
    EXPECT_EQ(download, nullptr);
}

// A client whose GET throws after writing part of the body.
class TThrowingClient final : public THttpClient {
public:
    THttpResult Head(const std::string&, const THttpLimits&, int64_t* length, const Progress&, std::string*) override {
        *length = 10;
        return THttpResult::Ok;
    }
    THttpResult Get(const std::string&, const THttpLimits&, const Sink& sink, const Progress&, std::string*) override {
        sink("PK", 2);
        throw std::runtime_error("out of memory");
    }
};

TEST_F(VlcDownloadTest, ErrorInsideTheClientIsADownloadFailure) {
    fw_test::WriteFile(zipFile, "previous archive");
    const auto outcome = Run(Request(installer_test::ArchivePath("3.0")), std::make_shared<TThrowingClient>());
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->Status, TDownloadStatus::DownloadFailed);
    EXPECT_EQ(fw_test::ReadFile(zipFile), "previous archive");
    EXPECT_TRUE(Leftovers().empty());
}

}  // namespace
