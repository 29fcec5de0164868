// Fixtures of the installer tests: a Qt application object and a bounded event-loop spin, the loopback
// HTTP or HTTPS server (http_test_server.py) with a certificate made at test time, release folders
// filled with the fake or the real libVLC, and zip archives made with Python's zipfile.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/engine/vlc/fake_vlc_folder.h"
#include "tests/support/test_env.h"

namespace installer_test {

// Makes the process's QCoreApplication on first use.
void EnsureQtApplication();
// Serves the events of this thread until pred holds or the time is up; pred's last answer.
bool SpinUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout = std::chrono::seconds(20));
// Serves the events of this thread for a while.
void SpinFor(std::chrono::milliseconds duration);

// A self-signed certificate for 127.0.0.1 and its key, made by openssl; the certificate is also the
// bundle a client trusts it through.
struct TTestCertificate {
    std::filesystem::path Cert;
    std::filesystem::path Key;
};
// None when openssl fails.
std::optional<TTestCertificate> MakeTestCertificate(const std::filesystem::path& folder);

struct TTestServerOptions {
    const TTestCertificate* Tls = nullptr;  // serve HTTPS with it
    bool HoldOpen = false;                  // GETs send the file without a length, then keep the connection
    int BytesPerSecond = 0;                 // GETs send files at about this rate; 0: at once
};

class TTestHttpServer {
public:
    explicit TTestHttpServer(const std::filesystem::path& root, TTestServerOptions options = {});
    bool Running() const { return ready_; }
    int Port() const { return port_; }
    // "127.0.0.1:<port>", the server part of a URL.
    std::string Server() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string Url(const std::string& path) const { return scheme_ + "://" + Server() + path; }

private:
    int port_;
    std::string scheme_;
    std::unique_ptr<fw_test::ChildProcess> process_;
    bool ready_ = false;
};

// The path on the download server of the release archive of version.
std::string ArchivePath(const std::string& version);

// Fills <folder>/<topFolder>/ with a release: both libraries (the fake of kind), COPYING.txt,
// README.txt and a plugins folder with one plugin in a sub-folder and the unwanted lua plugin.
void FillFakeRelease(const std::filesystem::path& folder, const std::string& topFolder, fw_test::FakeVlc kind);

// Zips everything below folder (names relative to it, deflated) into zip; false when Python fails.
bool ZipFolder(const std::filesystem::path& folder, const std::filesystem::path& zip);

// Zips the entries (name, bytes) as they are named, ".." and all, into zip; false when Python fails.
bool ZipEntries(const std::filesystem::path& zip, const std::vector<std::pair<std::string, std::string>>& entries);

// Every file below folder, relative to it, sorted ("plugins/codec/x.so").
std::vector<std::string> FilesBelow(const std::filesystem::path& folder);

}  // namespace installer_test
