// Hollarin's window closed through the window manager while a download or an extraction runs: the
// real program on an X server of the test's own under openbox, "Get VLC" clicked through XTest, the
// release fetched from a loopback server (through http_proxy, as the program always asks the VLC
// download server), and the close asked of openbox with wmctrl. The program ends its workers before
// it ends itself: exit code 0, no sanitizer report, the library folder as it was and the download's
// working folder gone.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "installer/DownloadNaming.h"
#include "installer/RunFolder.h"
#include "installer/InstallerStartUp.h"
#include "tests/installer/installer_test_support.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kVersion = "3.0";
constexpr auto kWithin = 60s;             // start-up, download and extraction under the sanitizers
constexpr auto kEndsWithin = 20s;         // after the close
constexpr int kLargeFiles = 8;
constexpr int kLargeFileBytes = 256 << 20;  // zeros: about 256 KB each in the archive
constexpr int kSlowBytesPerSecond = 200000;  // the download of the same archive lasts for minutes
// Where "Get VLC" lies in the install window.
constexpr int kGetVlcX = 297;
constexpr int kGetVlcY = 362;

// Zips the files below a folder and, below a prefix, some large files of zeros, all deflated; the
// zeros are compressed once and stored for every large file.
constexpr const char* kZipWithLargeFiles = R"(
import os, struct, sys, zlib
root, out, count, size, prefix = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
def deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()
entries = []
for d, dirs, files in os.walk(root):
    dirs.sort()
    for f in sorted(files):
        p = os.path.join(d, f)
        data = open(p, 'rb').read()
        entries.append((os.path.relpath(p, root), deflate(data), zlib.crc32(data), len(data)))
zeros = bytes(size)
packed, crc = deflate(zeros), zlib.crc32(zeros)
entries += [(prefix + 'm%03d.mo' % i, packed, crc, size) for i in range(count)]
with open(out, 'wb') as z:
    central = b''
    for name, raw, crc, length in entries:
        offset, encoded = z.tell(), name.encode()
        z.write(struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 8, 0, 0x21, crc, len(raw), length, len(encoded), 0))
        z.write(encoded + raw)
        central += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 0, 8, 0, 0x21, crc, len(raw), length,
                               len(encoded), 0, 0, 0, 0, 0, offset) + encoded
    start = z.tell()
    z.write(central)
    z.write(struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, len(entries), len(entries), len(central), start, 0))
)";

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Every file below folder with its bytes.
std::vector<std::pair<std::string, std::string>> Contents(const fs::path& folder) {
    std::vector<std::pair<std::string, std::string>> contents;
    for (const std::string& name : installer_test::FilesBelow(folder))
        contents.emplace_back(name, fw_test::ReadFile(folder / name));
    return contents;
}

// The download's working folders below tmp.
std::vector<fs::path> RunFolders(const fs::path& tmp) {
    std::vector<fs::path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(tmp, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        if (it->path().filename().string().rfind(hollarin::kRunFolderPrefix, 0) == 0) folders.push_back(it->path());
    return folders;
}

bool AnyFileBelow(const fs::path& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) return true;
    return false;
}

enum class TCloseDuring { Download, Extraction };

class InstallerWindowCloseTest : public ::testing::TestWithParam<TCloseDuring> {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "Xvfb did not start";
        windowManager = fw_test::StartWindowManager(work / "wm_started", kWithin, x.name());
        ASSERT_TRUE(windowManager) << "the window manager did not come up";

        // The release with many large files besides the libraries, so the extraction takes seconds and
        // spends them inside its entries.
        installer_test::FillFakeRelease(work / "release", std::string("vlc-") + kVersion, fw_test::FakeVlc::Full);
        const fs::path archive = serverRoot.path() / installer_test::ArchivePath(kVersion).substr(1);
        fs::create_directories(archive.parent_path());
        ASSERT_EQ(fw_test::RunProgram({"/usr/bin/python3", "-c", kZipWithLargeFiles, (work / "release").string(),
                                       archive.string(), std::to_string(kLargeFiles), std::to_string(kLargeFileBytes),
                                       std::string("vlc-") + kVersion + "/locale/"}),
                  0);

        // The library folder holds an older install, which must stay as it is.
        fw_test::FillFakeVlcFolder(libVlcDir, fw_test::FakeVlc::WithoutPauseMedia);
        fw_test::WriteFile(libVlcDir / "README.txt", "older read me\n");
        fs::create_directories(tmp);
    }

    bool Wmctrl(const std::vector<std::string>& arguments, std::string* output = nullptr) {
        std::vector<std::string> argv{"env", "DISPLAY=" + x.name(), "wmctrl"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return fw_test::RunProgram(argv, output, 10s) == 0;
    }
    bool WindowListed() {
        std::string list;
        return Wmctrl({"-l"}, &list) && list.find(hollarin::kInstallWindowCaption) != std::string::npos;
    }
    bool ClickGetVlc() {
        std::string id;
        if (fw_test::RunProgram({"env", "DISPLAY=" + x.name(), "xdotool", "search", "--name",
                                 std::string("^") + hollarin::kInstallWindowCaption + "$"},
                                &id, 10s) != 0)
            return false;
        id = id.substr(0, id.find('\n'));
        return fw_test::RunProgram({"env", "DISPLAY=" + x.name(), "xdotool", "mousemove", "--window", id,
                                    std::to_string(kGetVlcX), std::to_string(kGetVlcY), "click", "1"},
                                   nullptr, 10s) == 0;
    }

    fw_test::PrivateXServer x{1024, 768};
    fw_test::TempDir work;
    fw_test::TempDir serverRoot;
    fs::path libVlcDir = work / "Framewick" / "LIB_VLC";
    fs::path tmp = work / "tmp";
    fs::path errors = work / "stderr.txt";
    std::unique_ptr<fw_test::ChildProcess> windowManager;
};

TEST_P(InstallerWindowCloseTest, ClosingEndsTheWorkersFirstAndLeavesTheLibraryFolder) {
    installer_test::TTestServerOptions options;
    if (GetParam() == TCloseDuring::Download) options.BytesPerSecond = kSlowBytesPerSecond;
    installer_test::TTestHttpServer server(serverRoot.path(), options);
    ASSERT_TRUE(server.Running());
    const auto before = Contents(libVlcDir);

    const std::string command = "exec env DISPLAY=" + Quoted(x.name()) + " QT_QPA_PLATFORM=xcb TMPDIR=" +
                                Quoted(tmp.string()) + " http_proxy=" + Quoted("http://" + server.Server()) +
                                " no_proxy= NO_PROXY= " + Quoted(HOLLARIN_PROGRAM) + " -vv " + kVersion + " -dd " +
                                Quoted(libVlcDir.string() + "/") + " 2>" + Quoted(errors.string());
    fw_test::ChildProcess hollarin({"sh", "-c", command});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return WindowListed() || !hollarin.running(); }, kWithin));
    ASSERT_TRUE(hollarin.running()) << fw_test::ReadFile(errors);
    ASSERT_TRUE(fw_test::WaitUntil([&] { return ClickGetVlc() && !RunFolders(tmp).empty(); }, kWithin))
        << "the download did not begin";
    const fs::path run = RunFolders(tmp).front();
    if (GetParam() == TCloseDuring::Download) {
        ASSERT_TRUE(fw_test::WaitUntil([&] { return AnyFileBelow(run); }, kWithin)) << "no bytes arrived";
        EXPECT_FALSE(fs::exists(run / hollarin::kUnzipFolderName / (std::string("vlc-") + kVersion)));
    } else {
        ASSERT_TRUE(fw_test::WaitUntil([&] { return AnyFileBelow(run / hollarin::kUnzipFolderName); }, kWithin))
            << "the extraction did not begin";
    }

    ASSERT_TRUE(Wmctrl({"-c", hollarin::kInstallWindowCaption}));
    const std::optional<int> code = hollarin.WaitForExit(kEndsWithin);
    ASSERT_TRUE(code.has_value()) << "still running after the close";
    EXPECT_EQ(*code, 0);
    const std::string report = fw_test::ReadFile(errors);
    EXPECT_EQ(report.find("Sanitizer"), std::string::npos) << report;
    EXPECT_EQ(report.find("runtime error"), std::string::npos) << report;
    EXPECT_EQ(Contents(libVlcDir), before) << "the library folder changed";
    EXPECT_TRUE(RunFolders(tmp).empty()) << "the download's working folder was left behind";
}

INSTANTIATE_TEST_SUITE_P(During, InstallerWindowCloseTest,
                         ::testing::Values(TCloseDuring::Download, TCloseDuring::Extraction),
                         [](const auto& info) {
                             return info.param == TCloseDuring::Download ? "Download" : "Extraction";
                         });

}  // namespace
