// The screen-capture filter: a source with one RGB32 video output (rows top-down) of the size its
// 716-byte record asks for, at the record's frame rate, time-stamped from the start of streaming;
// pictures come from the X server, which writes them straight into the output's shared buffers, or,
// without one, from the moving test pattern. A window capture reads only its window's pixels and
// sends black pictures while the window is hidden or gone. IScreenCaptureData takes the record and
// hands out single pictures as bitmap files.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/dshow/class_factory.h"
#include "platform/dshow/source_stream.h"
#include "platform/filters/CaptureFrameBuilder.h"
#include "platform/filters/CapturedWindow.h"
#include "platform/filters/ScreenCaptureData.h"
#include "platform/filters/ScreenCaptureSettings.h"

namespace platform {

class TScreenCaptureFilter final : public dshow::TSource, public IScreenCaptureData {
public:
    static constexpr const char* kFilterName = "Screen Capture";

    // The COM creation function; sourceFactory null means OpenScreenSource (tests pass their own).
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv);
    using TSourceFactory = std::unique_ptr<IScreenSource> (*)();
    static HRESULT CreateWithSource(TSourceFactory sourceFactory, REFIID riid, void** ppv);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IScreenCaptureData
    HRESULT SetCaptureParams(TScreenCaptureFilterParams params) override;
    HRESULT GetCaptureParams(TScreenCaptureFilterParams* params) override;
    HRESULT GetFrameCount(int64_t* frames) override;
    HRESULT ReleaseImage() override;
    HRESULT IsDisplayCapture(BOOL* fromDisplay) override;
    HRESULT Reserved6() override;
    bool GetImage(IFrameStream* stream) override;
    HRESULT Reserved8() override;

    // For the output stream: the settings in force (none before a usable record) and one picture.
    std::optional<TScreenCaptureSettings> Settings();
    bool FillFrame(uint8_t* frame, size_t bytes, TRowOrder order);
    void CountFrame();
    void ResetFrameCount();

    // The in-process server's module (live objects and locks) and its factory's creation function.
    static dshow::TComModule& Module();
    static dshow::TUnknown* CreateObject(HRESULT* hr);

private:
    explicit TScreenCaptureFilter(TSourceFactory sourceFactory);
    ~TScreenCaptureFilter() override;
    IScreenSource& Source();  // under grabMutex_
    // One picture of a window capture; under grabMutex_.
    bool FillWithWindow(uint8_t* frame, size_t bytes, TRowOrder order);

    dshow::TComModule::TObjectToken token_{Module()};
    TSourceFactory sourceFactory_;
    std::mutex settingsMutex_;
    TScreenCaptureFilterParams record_{};
    std::optional<TScreenCaptureSettings> settings_;
    std::atomic<int64_t> frames_{0};

    // One picture at a time: the streaming thread and GetImage share the screen source.
    std::mutex grabMutex_;
    std::unique_ptr<IScreenSource> source_;
    std::unique_ptr<TCaptureFrameBuilder> builder_;
    std::optional<TScreenCaptureSettings> builderSettings_;
    std::unique_ptr<TCapturedWindow> window_;  // a window capture's window, followed picture by picture
    std::vector<uint8_t> image_;  // the last GetImage's bitmap file, until ReleaseImage
};

}  // namespace platform
