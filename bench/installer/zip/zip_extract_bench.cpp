// Extracts an archive shaped like a libVLC release (a few hundred files, about 100 MB, mostly
// deflated) with our walk and extraction, then with `unzip -o -q`, and prints both times and their
// ratio (target: at most 1.1). The archive is made in a temporary folder by the zip tool.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "installer/zip/zip_dir_search.h"
#include "installer/zip/zip_extract.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace hollarin;

namespace {

constexpr int kPluginFiles = 380;
constexpr size_t kCoreLibraryBytes = 30u << 20;
constexpr size_t kLibraryBytes = 2u << 20;
constexpr int kRuns = 3;

// Binary-like content: runs of structure (tables, strings) between noise, so deflate gets about half.
void WriteSample(const fs::path& file, size_t size, uint32_t seed) {
    std::string data;
    data.reserve(size);
    uint32_t x = seed * 2654435761u + 1;
    static const char* strings[] = {"vlc_module_begin", "libvlc_media_player", "avcodec_", "\0\0\0\0\0\0\0\0",
                                    "GetProcAddress", "plugin_descriptor", "ff_h264_", "\x48\x89\x5c\x24"};
    while (data.size() < size) {
        x = x * 1103515245u + 12345;
        if ((x >> 16) % 4 != 0) {
            data += strings[(x >> 8) % 8];
        } else {
            for (int i = 0; i < 24; ++i) {
                x = x * 1103515245u + 12345;
                data.push_back(char(x >> 24));
            }
        }
    }
    data.resize(size);
    std::ofstream(file, std::ios::binary).write(data.data(), std::streamsize(data.size()));
}

int Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool ExtractOurs(const fs::path& zip, const fs::path& target, int& files) {
    TZipArchiveBudget budget;
    TZipExtractHooks hooks;
    hooks.Budget = &budget;
    hooks.TargetRoot = target.string();
    TZipDirSearch search;
    files = 0;
    int rc = ZipFindFirst(zip.c_str(), search);
    while (rc == kZipDirEntry) {
        const std::string out = target.string() + "/" + search.FileName;
        if (ExtractZipEntry(zip.c_str(), out.c_str(), search.Attr, search.HeaderOffset, nullptr, 0, hooks) != 0)
            return false;
        ++files;
        rc = ZipFindNext(search);
    }
    ZipFindClose(search);
    return rc == kZipDirEnd;
}

}  // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "zipbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path root = pattern;
    const fs::path release = root / "src" / "vlc-3.0.20";
    fs::create_directories(release / "plugins");
    WriteSample(release / "libvlccore.dll", kCoreLibraryBytes, 1);
    WriteSample(release / "libvlc.dll", kLibraryBytes, 2);
    WriteSample(release / "COPYING.txt", 18000, 3);
    WriteSample(release / "README.txt", 9000, 4);
    size_t total = kCoreLibraryBytes + kLibraryBytes;
    for (int i = 0; i < kPluginFiles; ++i) {
        const fs::path folder = release / "plugins" / ("group" + std::to_string(i % 24));
        fs::create_directories(folder);
        const size_t size = 4096 + size_t((i * 7919) % 340) * 1024;
        WriteSample(folder / ("lib" + std::to_string(i) + "_plugin.dll"), size, uint32_t(10 + i));
        total += size;
    }
    const fs::path zip = root / "vlc.zip";
    if (Run({"sh", "-c", "cd '" + (root / "src").string() + "' && zip -q -r -6 '" + zip.string() + "' vlc-3.0.20"}) != 0) {
        std::fprintf(stderr, "zip failed\n");
        return 1;
    }
    std::printf("archive: %d plugin files, %.1f MB unpacked, %.1f MB packed\n", kPluginFiles, double(total) / 1e6,
                double(fs::file_size(zip)) / 1e6);

    double ours = 1e9, theirs = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove_all(root / "ours");
        fs::remove_all(root / "unzip");
        fs::create_directories(root / "ours");
        auto start = std::chrono::steady_clock::now();
        int files = 0;
        if (!ExtractOurs(zip, root / "ours", files)) {
            std::fprintf(stderr, "our extraction failed\n");
            return 1;
        }
        ours = std::min(ours, Seconds(start));
        start = std::chrono::steady_clock::now();
        if (Run({"unzip", "-o", "-q", zip.string(), "-d", (root / "unzip").string()}) != 0) {
            std::fprintf(stderr, "unzip failed\n");
            return 1;
        }
        theirs = std::min(theirs, Seconds(start));
        if (run == 0) std::printf("entries extracted: %d\n", files);
    }
    std::printf("ExtractZipEntry: %.3f s (best of %d)\n", ours, kRuns);
    std::printf("unzip -o -q:     %.3f s (best of %d)\n", theirs, kRuns);
    std::printf("ratio ours/unzip: %.2f (target <= 1.10)\n", ours / theirs);
    fs::remove_all(root);
    return 0;
}
