// Where the VLC release archive comes from and where a download puts it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hollarin {

// The VLC project's public download server, reached over plain HTTP on its standard port.
constexpr const char* kVlcDownloadServer = "download.videolan.org";
constexpr const char* kZipFileName = "vlc.zip";
constexpr const char* kUnzipFolderName = "vlc_zip";
// The archive holds the release below a top folder of this prefix and the version.
constexpr const char* kReleaseFolderPrefix = "vlc-";

// A version that may go into a URL path and a folder name: letters, digits, ".", "-" and "_",
// beginning with a letter or digit, without "..".
bool IsUsableVlcVersion(std::string_view version);

// "http://" + server + "/pub/videolan/vlc/" + version + "/win32/vlc-" + version + "-win32.zip";
// none for a version that IsUsableVlcVersion refuses. server may carry a port ("127.0.0.1:8080").
std::optional<std::string> VlcDownloadUrl(std::string_view version, std::string_view server = kVlcDownloadServer);

struct TDownloadPaths {
    std::string ZipFileName;  // <folder>/vlc.zip
    std::string UnzipDir;     // <folder>/vlc_zip/ (with the trailing "/")
    std::string ZipDirValue;  // <folder>/vlc_zip (what the "ZipDir" registry value records)
};

// The archive and the extraction folder below folder (a download's private working folder).
TDownloadPaths DownloadPaths(const std::string& folder);

// The system's temporary folder: $TMPDIR, else /tmp; with a trailing "/".
std::string SystemTempFolder();

// Where the install step takes the release from: unzipDir + "vlc-" + version + "/".
std::string ReleaseSourceFolder(const std::string& unzipDir, std::string_view version);

// The wait window's text for a size message: "Download " + the kilobytes (bytes / 1000, halves to
// even) grouped in threes with separator + " kByte". 35617000 with "." gives "Download 35.617 kByte".
std::string DownloadSizeText(int64_t bytes, char separator);

}  // namespace hollarin
