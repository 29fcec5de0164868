// libFuzzer target: the bytes are an archive; the directory walk runs over it and every entry it
// delivers is extracted below a private folder, with a small output cap so one input stays quick.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "installer/zip/zip_dir_search.h"
#include "installer/zip/zip_extract.h"

namespace {

constexpr uint64_t kFuzzOutputCapBytes = 4 << 20;
constexpr int kMaxEntriesPerInput = 64;

// A plain buffer, not a string: the folder is removed at exit, after static objects are gone.
char g_workFolder[4096];

void RemoveWorkFolder() {
    std::error_code ec;
    std::filesystem::remove_all(g_workFolder, ec);
}

std::string WorkFolder() {
    if (!g_workFolder[0]) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zipfuzz-XXXXXX").string();
        if (pattern.size() >= sizeof g_workFolder || !::mkdtemp(pattern.data())) ::abort();
        std::memcpy(g_workFolder, pattern.c_str(), pattern.size() + 1);
        std::atexit(RemoveWorkFolder);
    }
    return g_workFolder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string zip = WorkFolder() + "/input.zip";
    const std::string target = WorkFolder() + "/out";
    {
        FILE* f = ::fopen(zip.c_str(), "wb");
        if (!f) return 0;
        ::fwrite(data, 1, size, f);
        ::fclose(f);
    }
    std::error_code ec;
    std::filesystem::remove_all(target, ec);
    std::filesystem::create_directories(target, ec);

    hollarin::TZipArchiveBudget budget(kFuzzOutputCapBytes);
    hollarin::TZipExtractHooks hooks;
    hooks.Budget = &budget;
    hooks.TargetRoot = target;
    hollarin::TZipDirSearch search;
    int rc = hollarin::ZipFindFirst(zip.c_str(), search);
    for (int n = 0; rc == hollarin::kZipDirEntry && n < kMaxEntriesPerInput; ++n) {
        const std::string out = target + "/" + search.FileName;
        hollarin::ExtractZipEntry(zip.c_str(), out.c_str(), search.Attr, search.HeaderOffset, nullptr, 0, hooks);
        rc = hollarin::ZipFindNext(search);
    }
    hollarin::ZipFindClose(search);
    return 0;
}
