// Writes one entry of a zip archive into a file: reads the entry's local header, refuses what it cannot
// handle, creates the file and the folders above it, decodes the data (stored, shrunk, reduced,
// imploded or deflated) while computing the CRC-32, sets the file's time and attributes and answers with
// a result code (zip_extract_result.h). One extraction runs at a time in the process; a second call
// meanwhile answers kZipExtractBusy.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "installer/zip/zip_archive_budget.h"
#include "installer/zip/zip_archive_file.h"
#include "installer/zip/zip_extract_result.h"
#include "installer/zip/zip_progress_window.h"
#include "platform/display/keyboard_state.h"
#include "platform/ui/message_pump.h"

namespace hollarin {

// DOS attribute bits as the directory delivers them.
constexpr uint16_t kDosAttrReadOnly = 0x01;
constexpr uint16_t kDosAttrDirectory = 0x10;

// Longest target path taken (the platform's path limit less its terminating NUL).
constexpr int kZipMaxOutNameChars = 4095;

// What an extraction works with besides its arguments. Empty members fall back to: no message pump,
// no keyboard (no key is ever down), a budget of this call alone, no target root, the local file system.
struct TZipExtractHooks {
    platform::TMessagePump* Pump = nullptr;
    platform::TKeyboardState* Keyboard = nullptr;
    TZipArchiveBudget* Budget = nullptr;  // one per archive: caps the output of all its entries together
    std::string TargetRoot;               // when set, OutName must lie below it; no link below it is followed
    TZipArchiveOpener* Opener = nullptr;
    // When it turns true the entry stops as one the user aborted (kZipExtractAborted): its owner is
    // going away.
    const std::atomic<bool>* Stop = nullptr;
};

// The hooks of a Hollarin extraction thread: the thread's Qt message pump and the X keyboard state.
TZipExtractHooks DefaultExtractHooks();

// OutName: "/" between components; a name ending in "/" (or an Attr with the directory bit) is a folder.
// ProgressWnd may be null; then a non-zero ProgressId names the key that aborts (27: Escape).
int ExtractZipEntry(const char* ZipName, const char* OutName, uint16_t Attr, uint32_t HeaderOffset,
                    TZipProgressWindow* ProgressWnd, uint16_t ProgressId);
int ExtractZipEntry(const char* ZipName, const char* OutName, uint16_t Attr, uint32_t HeaderOffset,
                    TZipProgressWindow* ProgressWnd, uint16_t ProgressId, const TZipExtractHooks& hooks);

}  // namespace hollarin
