#include "engine/graphs/FgScreenCaptureInput.h"

#include <cstring>

namespace engine {

TScreenCaptureFilterParams PackScreenCaptureFilterParams(const TFgScreenCaptureInput& in) {
    namespace r = screen_capture_record;
    TScreenCaptureFilterParams rec;
    std::memset(&rec, 0, sizeof rec);
    r::PutByte(rec, r::kCaptureMode, in.CaptureMode);
    r::PutByte(rec, r::kParamsKind, r::kParamsKindValue);
    r::PutInt32(rec, r::kScalePercent, in.ScalePercent);
    r::PutInt32(rec, r::kLeft, in.Left);
    r::PutInt32(rec, r::kTop, in.Top);
    r::PutInt32(rec, r::kWidth, in.Width);
    r::PutInt32(rec, r::kHeight, in.Height);
    r::PutShortString(rec, r::kWindowClass, r::kWindowTextField, in.WindowClass);
    r::PutShortString(rec, r::kWindowCaption, r::kWindowTextField, in.WindowCaption);
    r::PutInt32(rec, r::kFrameRate, in.FrameRate);
    r::PutInt32(rec, r::kMonitorNo, in.MonitorNo);
    r::PutByte(rec, r::kCaptureMouse, in.CaptureMouse);
    r::PutInt32(rec, r::kOutWidth, in.OutWidth);
    r::PutInt32(rec, r::kOutHeight, in.OutHeight);
    r::PutByte(rec, r::kPixelFormat, in.PixelFormat);
    r::PutByte(rec, r::kSnapshotOutput, in.SnapshotOutput);
    r::PutInt32(rec, r::kImageFreq, in.ImageFreq);
    r::PutByte(rec, r::kTimeDisplayActive, in.TimeDisplayActive);
    r::PutByte(rec, r::kTimeDisplayPos, static_cast<uint8_t>(in.TimeDisplayPos & 0xFF));
    r::PutShortString(rec, r::kTimeDisplayFont, r::kFontField, in.TimeDisplayFont);
    r::PutInt32(rec, r::kTimeDisplaySize, in.TimeDisplaySize);
    r::PutInt32(rec, r::kTimeDisplayColor, in.TimeDisplayColor);
    r::PutByte(rec, r::kTimeDisplayBold, in.TimeDisplayBold);
    r::PutInt32(rec, r::kTimeDisplayBkColor, in.TimeDisplayBkColor);
    r::PutByte(rec, r::kTimeDisplayTransparent, in.TimeDisplayTransparent);
    // Reserved1..4 stay zero whatever the caller put there.
    r::PutByte(rec, r::kVideoOutput, in.VideoOutput);
    return rec;
}

}  // namespace engine
