#include "tests/installer/installer_test_support.h"

#include <QCoreApplication>
#include <algorithm>
#include <thread>

namespace fs = std::filesystem;

namespace installer_test {

void EnsureQtApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "installer_test";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);  // lives as long as the test program
}

bool SpinUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (pred()) return true;
        if (std::chrono::steady_clock::now() >= end) return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void SpinFor(std::chrono::milliseconds duration) {
    SpinUntil([] { return false; }, duration);
}

std::optional<TTestCertificate> MakeTestCertificate(const fs::path& folder) {
    fs::create_directories(folder);
    TTestCertificate certificate{folder / "cert.pem", folder / "key.pem"};
    const int rc = fw_test::RunProgram({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                                        "-keyout", certificate.Key.string(), "-out", certificate.Cert.string()});
    if (rc != 0) return std::nullopt;
    return certificate;
}

TTestHttpServer::TTestHttpServer(const fs::path& root, TTestServerOptions options)
    : port_(fw_test::FreeTcpPort()), scheme_(options.Tls ? "https" : "http") {
    std::vector<std::string> argv{"/usr/bin/python3", HTTP_TEST_SERVER_SCRIPT, std::to_string(port_), root.string()};
    if (options.Tls) argv.insert(argv.end(), {"--tls", options.Tls->Cert.string(), options.Tls->Key.string()});
    if (options.HoldOpen) argv.push_back("--hold");
    if (options.BytesPerSecond > 0) argv.insert(argv.end(), {"--rate", std::to_string(options.BytesPerSecond)});
    process_ = std::make_unique<fw_test::ChildProcess>(argv);
    ready_ = fw_test::WaitForTcpPort(port_, std::chrono::seconds(10));
}

std::string ArchivePath(const std::string& version) {
    return "/pub/videolan/vlc/" + version + "/win32/vlc-" + version + "-win32.zip";
}

void FillFakeRelease(const fs::path& folder, const std::string& topFolder, fw_test::FakeVlc kind) {
    const fs::path release = folder / topFolder;
    fw_test::FillFakeVlcFolder(release, kind);
    fw_test::WriteFile(release / "COPYING.txt", "licence text\n");
    fw_test::WriteFile(release / "README.txt", "read me\n");
    fs::create_directories(release / "plugins" / "codec");
    fw_test::WriteFile(release / "plugins" / "codec" / "libfake_codec_plugin.so", "plugin bytes");
    fw_test::WriteFile(release / "plugins" / "liblua_plugin.so", "unwanted plugin");
}

bool ZipFolder(const fs::path& folder, const fs::path& zip) {
    const std::string code =
        "import os, sys, zipfile\n"
        "root, out = sys.argv[1], sys.argv[2]\n"
        "with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for d, dirs, files in os.walk(root):\n"
        "        dirs.sort()\n"
        "        rel = os.path.relpath(d, root)\n"
        "        if rel != '.':\n"
        "            z.write(d, rel + '/')\n"
        "        for f in sorted(files):\n"
        "            p = os.path.join(d, f)\n"
        "            z.write(p, os.path.relpath(p, root))\n";
    fs::create_directories(zip.parent_path());
    return fw_test::RunProgram({"/usr/bin/python3", "-c", code, folder.string(), zip.string()}) == 0;
}

bool ZipEntries(const fs::path& zip, const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::string code =
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for i in range(2, len(sys.argv), 2):\n"
        "        z.writestr(zipfile.ZipInfo(sys.argv[i]), sys.argv[i + 1])\n";
    std::vector<std::string> argv = {"/usr/bin/python3", "-c", code, zip.string()};
    for (const auto& [name, bytes] : entries) argv.insert(argv.end(), {name, bytes});
    fs::create_directories(zip.parent_path());
    return fw_test::RunProgram(argv) == 0;
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file()) files.push_back(fs::relative(it->path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace installer_test
