// The extraction thread: walks the archive's directory and extracts every entry below TargetDir, then
// posts its completion code to the owner's message target (kUnzipDoneMessage, wParam the code, lParam
// 1: the thread ran). It frees itself; a thread asked to end before or while it runs stops between
// entries and posts nothing.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "installer/zip/zip_archive_file.h"
#include "platform/display/keyboard_state.h"
#include "platform/ui/message_target.h"

namespace hollarin {

// Completion codes.
constexpr int kUnzipOk = 0;           // every entry extracted
constexpr int kUnzipFailed = 100;     // the directory was unreadable or an entry failed (also Escape)
constexpr int kUnzipException = 200;  // an error ended the extraction unexpectedly

// Why an extraction did not end with kUnzipOk.
enum class TUnzipFailure {
    None,
    NotAnArchive,      // no readable zip directory: not an archive, truncated or damaged
    Needs64Bit,        // sizes, offsets or counts beyond 32 bits (Zip64)
    UnsafeName,        // an entry name that leaves the target folder, or is too long
    DamagedEntry,      // an entry's data is cut short, invalid or fails its CRC
    UnsupportedEntry,  // an entry is encrypted or packed with a method not read here
    CannotWrite,       // the target could not be written (a full disk, for one)
    Stopped,           // the user held Escape
    Error,             // an unexpected error
};

constexpr uint32_t kUnzipDoneMessage = 0xAB92;
// Progress id of the extraction: the key that aborts it (Escape).
constexpr uint16_t kUnzipProgressId = 27;

// What the extraction reads and asks besides the file names; empty members take the defaults
// (the local file system, the X keyboard).
struct TUnzipSources {
    std::shared_ptr<TZipArchiveOpener> Opener;
    std::shared_ptr<platform::TKeyboardState> Keyboard;
};

class TRunFolder;

class TUnzipThread {
public:
    // runFolder (may be null): the folder the archive and the target lie in, held while the thread runs.
    TUnzipThread(std::string zipFile, std::string targetDir, TUnzipSources sources,
                 std::shared_ptr<const TRunFolder> runFolder, platform::WindowHandle doneTarget);
    TUnzipThread(const TUnzipThread&) = delete;
    TUnzipThread& operator=(const TUnzipThread&) = delete;

    static bool Start(const std::shared_ptr<TUnzipThread>& self);
    void RequestEnd() { endRequested_ = true; }
    bool Ended() const { return ended_; }
    // Set before the completion is posted.
    TUnzipFailure Failure() const { return failure_; }

private:
    void Execute();
    // The walk; kUnzipOk or kUnzipFailed (failure_ says why). Sets *stopped when the end was asked in between.
    int ExtractAll(bool* stopped);
    std::string LogName() const { return "unzip: " + zipFile_; }

    const std::string zipFile_;
    const std::string targetDir_;  // with a trailing "/"
    const TUnzipSources sources_;
    const std::shared_ptr<const TRunFolder> runFolder_;
    const platform::WindowHandle doneTarget_;
    std::atomic<bool> endRequested_{false};
    std::atomic<bool> ended_{false};
    std::atomic<TUnzipFailure> failure_{TUnzipFailure::None};
};

}  // namespace hollarin
