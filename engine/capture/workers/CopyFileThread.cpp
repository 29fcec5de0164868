#include "engine/capture/workers/CopyFileThread.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "engine/capture/workers/ShareFolderClaims.h"
#include "engine/capture/workers/SvgRasterizer.h"
#include "engine/settings/settings_store.h"
#include "engine/util/atomic_file.h"
#include "engine/util/file_in_use.h"
#include "engine/util/folder_scan.h"
#include "engine/util/path_utils.h"
#include "platform/filters/BmpCodec.h"
#include "platform/util/whole_file.h"

namespace engine {

namespace {

using Clock = std::chrono::steady_clock;

std::string PrefixOrEmpty(const std::string& folder) {
    return folder.empty() ? std::string() : IncludeTrailingPathDelimiter(folder);
}

std::string MsText(std::chrono::milliseconds ms) { return std::to_string(ms.count()); }

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

std::string TCopyFileThread::InputExtension(uint8_t fileFmt) {
    switch (fileFmt) {
        case kDropBmp: return ".bmp";
        case kDropJpeg: return ".jpg";
        case kDropSvg: return ".svg";
        case kDropPng: return ".png";
        default: return ".xxxyyyzzz";
    }
}

std::optional<std::string> TCopyFileThread::PublishedExtension(uint8_t fileFmt, const engine::TSettings& settings) {
    switch (fileFmt) {
        case kDropBmp: {
            std::string ext = ".bmp";
            if (settings.BmpConvAct && settings.Bmp2Jpg) ext = ".jpg";
            if (settings.BmpConvAct && settings.Bmp2Png) ext = ".png";  // PNG wins when both are set
            return ext;
        }
        case kDropJpeg: return ".jpg";
        case kDropSvg: return settings.Svg2Png ? ".png" : ".svg";
        case kDropPng: return ".png";
        default: return std::nullopt;
    }
}

std::shared_ptr<TCopyFileThread> TCopyFileThread::Start(TCopyFileThreadParams params) {
    std::shared_ptr<TCopyFileThread> thread(new TCopyFileThread(std::move(params)));
    Launch(thread);
    return thread;
}

TCopyFileThread::TCopyFileThread(TCopyFileThreadParams params)
    : share_(params.Streamer ? TSharePageInfo::From(*params.Streamer) : TSharePageInfo{}),
      deleteInput_(params.DeleteInput),
      pause_(std::max<std::chrono::milliseconds>(kMinDropPause, std::chrono::seconds(params.Freq))),
      fileFmt_(params.FileFmt),
      // Empty folders stay empty: the thread then never looks into or writes to the working folder.
      sourceDir_(PrefixOrEmpty(params.SourceDir)),
      outDir_(PrefixOrEmpty(params.OutDir)),
      notifier_(std::move(params.Notifier)),
      log_(std::move(params.LogList), false),
      template_(std::move(params.Template)) {
    // A file-drop run newer than a snapshot thread of the same folder keeps that thread from deleting it.
    ClaimShareFolder(outDir_);
    if (!outDir_.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(outDir_, ec);
    }
}

void TCopyFileThread::Execute() {
    const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
    png_ = std::make_unique<TPngEncoder>(settings->PngComp);
    jpeg_ = std::make_unique<TJpegEncoder>(settings->JpgComp);
    first_ = true;
    log_.Info("fileCopy Start");
    if (share_.UseFileList && !outDir_.empty()) CopyShareFileList(share_.FileList, outDir_);

    while (!EndRequested()) {
        try {
            RunPass();
        } catch (const std::exception& e) {
            log_.Error(std::string("fileCopy error: ") + e.what());
        } catch (...) {
            log_.Error("fileCopy error");
        }
        if (!Pause(pause_)) break;
    }

    png_.reset();
    jpeg_.reset();
    input_.clear();
    input_.shrink_to_fit();
    log_.Info("fileCopy End");
}

void TCopyFileThread::RunPass() {
    const auto t0 = Clock::now();
    log_.Info("thrdCopy Start");
    const std::string name = sourceDir_.empty() ? std::string() : GetNewestFile(sourceDir_, InputExtension(fileFmt_));
    if (!name.empty() && !outDir_.empty()) {
        const std::shared_ptr<const engine::TSettings> settings = engine::Settings();
        if (const std::optional<std::string> ext = PublishedExtension(fileFmt_, *settings)) {
            const std::string inputPath = sourceDir_ + name;
            // Neither published nor deleted half written: a later pass takes it whole.
            if (!InputStillWritten(inputPath)) TakeInput(inputPath, *ext, *settings);
        }
    }
    log_.Info("thrdCopy End [" + MsText(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0)) +
              " msec]");
}

void TCopyFileThread::TakeInput(const std::string& inputPath, const std::string& ext, const engine::TSettings& settings) {
    log_.Info("fileCopy inputfn: " + inputPath);
    int error = 0;
    // An input that vanished or cannot be read is logged; the next pass looks again.
    if (const platform::WholeFileRead read = platform::ReadWholeFile(inputPath, input_, &error);
        read != platform::WholeFileRead::Ok) {
        log_.Error(read == platform::WholeFileRead::CannotRead
                       ? "fileCopy cannot read \"" + inputPath + "\""
                       : "fileCopy cannot open \"" + inputPath + "\": " + std::strerror(error));
        return;
    }
    if (!Publish(inputPath, ext, settings)) return;
    if (notifier_) notifier_->Post(kCnFileData, 0);
    // Only now: an input that was not published stays for a later pass.
    std::error_code ec;
    if (deleteInput_) std::filesystem::remove(inputPath, ec);
}

bool TCopyFileThread::InputStillWritten(const std::string& inputPath) {
    if (!IsFileInUse(inputPath)) {
        inputInUse_.clear();
        return false;
    }
    // A writer that never closes its file is skipped every pass but reported once.
    if (inputInUse_ != inputPath) log_.Info("fileCopy input still being written: " + inputPath);
    inputInUse_ = inputPath;
    return true;
}

bool TCopyFileThread::Publish(const std::string& inputPath, const std::string& ext, const engine::TSettings& settings) {
    std::string error;
    if ((first_ || !Exists(outDir_ + kIndexPageName)) && !WritePage(ext, &error)) {
        log_.Error("fileCopy " + error);
        return false;
    }
    // Another writer has the published name open: leave it for this pass.
    if (IsFileInUse(publishedPath_)) return false;

    bool published = false;
    if (fileFmt_ == kDropSvg && settings.Svg2Png) published = Rasterize(inputPath, settings);
    if (fileFmt_ == kDropBmp && settings.BmpConvAct && (settings.Bmp2Jpg || settings.Bmp2Png)) {
        platform::TBitmap bitmap;
        const bool loaded =
            platform::DecodeBmp(reinterpret_cast<const uint8_t*>(input_.data()), input_.size(), bitmap);
        const platform::TBitmap* picture = loaded ? &bitmap : nullptr;
        if (settings.Bmp2Jpg)
            published |= ConvertBmp(*jpeg_, picture, "fileCopy jpgFn: ", "fileCopy BMP to JPG error");
        if (settings.Bmp2Png)
            published |= ConvertBmp(*png_, picture, "fileCopy pngfn: ", "fileCopy BMP to PNG error");
    }
    if (!published) {
        // No conversion was asked for, or it failed: the input goes out as it is.
        if (!WriteOutputs(input_, &error)) {
            log_.Error("fileCopy " + error);
            return false;
        }
        published = true;
        log_.Info("fileCopy - ok: " + publishedPath_);
    }
    return published;
}

bool TCopyFileThread::WritePage(const std::string& ext, std::string* error) {
    const std::string baseName = CaptureImageBaseName(share_.IpAddr, share_.Port);
    const std::string publishedName = baseName + ext;
    const std::string imageAddress = ShareImageAddress(share_, publishedName);
    log_.Info("fileCopy fn: " + imageAddress);
    const std::string page = FillSharePage(template_, imageAddress);

    const std::string pagePath = outDir_ + kIndexPageName;
    log_.Info("============== index.html ===============");
    log_.InfoLines(page);
    log_.Info("=========================================");
    log_.Info(pagePath);
    if (!WriteFileAtomic(pagePath, page, error)) return false;

    // The names keep this pass's extension until the page is written again.
    first_ = false;
    publishedPath_ = outDir_ + publishedName;
    tempPath_ = outDir_ + baseName;
    log_.Info("fileCopy destfn: " + publishedPath_);
    return true;
}

bool TCopyFileThread::WriteOutputs(std::string_view bytes, std::string* error) {
    return WriteFileAtomic(tempPath_, bytes, error) && WriteFileAtomic(publishedPath_, bytes, error);
}

bool TCopyFileThread::ConvertBmp(TImageEncoder& encoder, const platform::TBitmap* bitmap, const char* nameLine,
                                 const char* errorLine) {
    if (!bitmap || !encoder.Encode(*bitmap) || !WriteOutputs(encoder.Bytes(), nullptr)) {
        log_.Error(errorLine);
        return false;
    }
    log_.Info(nameLine + publishedPath_);
    return true;
}

bool TCopyFileThread::Rasterize(const std::string& inputPath, const engine::TSettings& settings) {
    const TSvgRasterizer rasterizer(settings.JavaDir, settings.BatikDir);
    const TRasterizeResult result = rasterizer.Run(inputPath);
    switch (result.Outcome) {
        case TRasterizeOutcome::JavaMissing: log_.Error("fileCopy java.exe not found"); return false;
        case TRasterizeOutcome::RasterizerMissing: log_.Error("fileCopy batik.jar not found"); return false;
        case TRasterizeOutcome::NotStarted: log_.Info("fileCopy Unable to run " + result.CommandLine); return false;
        case TRasterizeOutcome::TimedOut:
            log_.Error("fileCopy SVG to PNG timed out [" + MsText(result.Elapsed) + " msec]: " + result.CommandLine);
            return false;
        case TRasterizeOutcome::Ran: break;
    }
    const std::string pngPath = TSvgRasterizer::PngPathFor(inputPath);
    if (!Exists(pngPath)) {
        log_.Error("fileCopy conversion SVG to PNG failed");
        return false;
    }
    std::string png;
    if (platform::ReadWholeFile(pngPath, png) != platform::WholeFileRead::Ok || !WriteOutputs(png, nullptr)) {
        log_.Error("fileCopy SVG to PNG error");
        return false;
    }
    log_.Info("fileCopy SVG to PNG [" + MsText(result.Elapsed) + " msec] svgFn: " + publishedPath_);
    std::error_code ec;
    if (deleteInput_) std::filesystem::remove(pngPath, ec);
    return true;
}

}  // namespace engine
