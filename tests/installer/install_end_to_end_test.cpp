// The whole install as the install window drives it: a release archive holding the system's real libVLC
// is downloaded from a loopback server into the temporary folder, extracted by the extraction thread
// and installed into the target folder, where both the installer's and Framewick's bindings accept it.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "engine/util/vlc_version.h"
#include "engine/vlc/InstalledVlc.h"
#include "engine/vlc/VlcLib.h"
#include "installer/DownloadNaming.h"
#include "installer/InstallerMessages.h"
#include "installer/LibraryInstall.h"
#include "installer/Unzip.h"
#include "installer/VlcDownload.h"
#include "tests/installer/installer_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
namespace fs = std::filesystem;

// A release folder made of the installed libVLC: both libraries, the documents and a few plugins.
void FillRealRelease(const fs::path& release, const engine::TInstalledVlc& vlc) {
    fs::create_directories(release / "plugins");
    for (const char* library : {engine::kVlcCoreLibraryFile, engine::kVlcLibraryFile})
        fs::copy_file(vlc.LibraryFolder + library, release / library);  // follows the version links
    fw_test::WriteFile(release / "COPYING.txt", "licence\n");
    fw_test::WriteFile(release / "README.txt", "read me\n");
    int copied = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(vlc.PluginFolder) / "codec")) {
        if (entry.path().extension() != ".so" || copied == 3) continue;
        fs::create_directories(release / "plugins" / "codec");
        fs::copy_file(entry.path(), release / "plugins" / "codec" / entry.path().filename());
        ++copied;
    }
    fw_test::WriteFile(release / "plugins" / "liblua_plugin.so", "unwanted");
}

TEST(InstallEndToEnd, DownloadExtractAndInstallTheReleaseIntoTheTargetFolder) {
    const auto installed = engine::FindInstalledVlc();
    if (!installed) GTEST_SKIP() << "no system libVLC (libvlc5) installed";
    installer_test::EnsureQtApplication();

    fw_test::TempDir serverRoot;
    fw_test::TempDir work;
    const std::string version(engine::kRequiredVlcVersion);
    FillRealRelease(work / "release" / ("vlc-" + version), *installed);
    ASSERT_TRUE(installer_test::ZipFolder(work / "release", serverRoot.path() / installer_test::ArchivePath(version).substr(1)));
    installer_test::TTestHttpServer server(serverRoot.path());
    ASSERT_TRUE(server.Running());

    const TDownloadPaths paths = DownloadPaths((work / "tmp").string());
    fs::create_directories(work / "tmp");
    const std::string libVlcDir = (work / "Framewick" / "LIB_VLC").string() + "/";
    TInstallerVlcLib binding{std::vector<std::string>{}};

    std::vector<int64_t> sizes;
    platform::MessageTarget window([&](uint32_t msg, intptr_t wParam, intptr_t lParam) {
        if (msg == kInstallerMessage && wParam == kDownloadSize) sizes.push_back(lParam);
    });
    std::unique_ptr<TUnzip> unzip;
    std::optional<TInstallResult> installResult;
    std::optional<int> unzipCode;
    TDownloadRequest request;
    request.Url = VlcDownloadUrl(version, server.Server()).value();
    request.ZipFileName = paths.ZipFileName;
    request.ProgressTarget = window.Handle();
    TVlcDownload download(request, [&](TVlcDownload&, const TDownloadResult& result) {
        ASSERT_EQ(result.Status, TDownloadStatus::Downloaded);
        unzip = std::make_unique<TUnzip>();
        unzip->SetZipFile(result.ZipFileName);
        unzip->SetTargetDir(paths.UnzipDir);
        unzip->OnDone = [&](TUnzip&, int code, bool done) {
            unzipCode = code;
            if (done && code == kUnzipOk) installResult = TLibraryInstall(binding, paths.UnzipDir, libVlcDir, version).Run();
            unzip.reset();
        };
        ASSERT_TRUE(unzip->Start());
    });
    ASSERT_TRUE(download.Start());
    ASSERT_TRUE(installer_test::SpinUntil([&] { return unzipCode.has_value(); }, std::chrono::seconds(60)));
    ASSERT_EQ(*unzipCode, kUnzipOk);
    ASSERT_TRUE(installResult);

    EXPECT_EQ(sizes, std::vector<int64_t>{int64_t(fs::file_size(paths.ZipFileName))});
    EXPECT_EQ(installResult->Status, TInstallStatus::Installed);
    ASSERT_TRUE(installResult->Probe.Loaded);
    EXPECT_TRUE(installResult->Probe.Version.Ok) << installResult->Probe.Version.VersionText;
    EXPECT_EQ(binding.VlcLibPath(), libVlcDir) << "loaded from the target, not from the system";
    EXPECT_EQ(fs::file_size(libVlcDir + engine::kVlcCoreLibraryFile),
              fs::file_size(installed->LibraryFolder + engine::kVlcCoreLibraryFile));
    EXPECT_TRUE(fs::exists(libVlcDir + "plugins/codec"));
    EXPECT_FALSE(fs::exists(libVlcDir + "plugins/liblua_plugin.so"));
    // The extraction leaves its files for the install step (the window then removes its working folder).
    EXPECT_TRUE(fs::exists(paths.UnzipDir + "vlc-" + version + "/" + engine::kVlcLibraryFile));

    // What Framewick finds at its next start: a library folder its own binding accepts.
    engine::SetVlcLibPath(libVlcDir);
    ASSERT_EQ(engine::GetVlcLibPath(), libVlcDir);
    EXPECT_EQ(engine::LoadVlcFunctions(), 0);
    EXPECT_TRUE(engine::IsVlcVersion(version)) << engine::GetLibVlcVersion();
}

}  // namespace
