// The file-drop thread of an HTTP share that publishes dropped files: every few seconds it takes the
// newest file of the chosen type from the watched folder, converts it as the settings say (BMP to JPEG
// or PNG here, SVG to PNG through the outside rasteriser), publishes it under the share's fixed name,
// writes the share's index.html from the page template, optionally deletes the input once it was
// published, and tells the main window. It frees itself when it ends and deletes nothing then.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/capture/settings/CaptureNotify.h"
#include "engine/capture/settings/CaptureStreamer.h"
#include "engine/capture/workers/ImageEncoders.h"
#include "engine/capture/workers/SharePage.h"
#include "engine/capture/workers/WorkerLog.h"
#include "engine/capture/workers/WorkerThread.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings.h"

namespace engine {

// Watched file types (capiFileFmt).
constexpr uint8_t kDropBmp = 0;
constexpr uint8_t kDropJpeg = 1;
constexpr uint8_t kDropSvg = 2;
constexpr uint8_t kDropPng = 3;

// The shortest pause between two looks into the folder, whatever the setting says.
constexpr std::chrono::milliseconds kMinDropPause{1000};

struct TCopyFileThreadParams {
    PCaptureStreamer Streamer;
    std::shared_ptr<engine::TLogList> LogList;
    bool DeleteInput = true;  // capbDelete
    int32_t Freq = 5;         // capiFreq: seconds between two looks into the folder
    uint8_t FileFmt = 4;      // capiFileFmt
    std::string SourceDir;    // capFilesDir, the watched folder
    std::string OutDir;       // web-server root + SubDir + "/"
    std::string Template;     // the page template text
    std::shared_ptr<ICaptureNotifier> Notifier;  // cnFileData after every pass that published a file
};

class TCopyFileThread final : public TWorkerThread {
public:
    // Makes the share folder and starts the thread at the lowest priority.
    static std::shared_ptr<TCopyFileThread> Start(TCopyFileThreadParams params);

    // The extension of the watched files (".xxxyyyzzz", which matches no file, for an unknown type).
    static std::string InputExtension(uint8_t fileFmt);
    // The extension the input is published under with these settings; none for an unknown type.
    static std::optional<std::string> PublishedExtension(uint8_t fileFmt, const engine::TSettings& settings);

    std::chrono::milliseconds PauseBetweenPasses() const { return pause_; }

private:
    explicit TCopyFileThread(TCopyFileThreadParams params);
    void Execute() override;
    void RunPass();
    // The input's writer still has it open.
    bool InputStillWritten(const std::string& inputPath);
    // Reads, publishes and (when asked) deletes one whole input.
    void TakeInput(const std::string& inputPath, const std::string& ext, const engine::TSettings& settings);
    // Publishes one input (read into input_); true when a file was published.
    bool Publish(const std::string& inputPath, const std::string& ext, const engine::TSettings& settings);
    bool WritePage(const std::string& ext, std::string* error);
    bool ConvertBmp(TImageEncoder& encoder, const platform::TBitmap* bitmap, const char* nameLine,
                    const char* errorLine);
    bool Rasterize(const std::string& inputPath, const engine::TSettings& settings);
    // Writes bytes to the temporary name and then the published name, each replaced atomically.
    bool WriteOutputs(std::string_view bytes, std::string* error);

    const TSharePageInfo share_;
    const bool deleteInput_;
    const std::chrono::milliseconds pause_;
    const uint8_t fileFmt_;
    const std::string sourceDir_;
    const std::string outDir_;
    const std::shared_ptr<ICaptureNotifier> notifier_;
    const TWorkerLog log_;

    // Each page is filled from the template, so a page written after the name changed addresses it.
    const std::string template_;

    // Owned by the thread alone.
    std::unique_ptr<TPngEncoder> png_;
    std::unique_ptr<TJpegEncoder> jpeg_;
    std::string input_;  // the memory copy of the input
    bool first_ = true;
    std::string publishedPath_;
    std::string tempPath_;
    std::string inputInUse_;  // the input last found still being written, reported once
};

}  // namespace engine
