#include "platform/filters/ScreenCaptureSettings.h"

namespace platform {

int RoundUpTo16(int value) { return value % 16 == 0 ? value : value - value % 16 + 16; }

std::optional<TScreenCaptureSettings> ReadScreenCaptureSettings(const TScreenCaptureFilterParams& record) {
    namespace r = screen_capture_record;
    const int width = r::GetInt32(record, r::kWidth), height = r::GetInt32(record, r::kHeight);
    if (width < 1 || height < 1 || width > kMaxCaptureSide || height > kMaxCaptureSide) return std::nullopt;
    const int outWidth = r::GetInt32(record, r::kOutWidth), outHeight = r::GetInt32(record, r::kOutHeight);
    const bool scaled = outWidth >= 1 && outHeight >= 1 && outWidth <= kMaxCaptureSide && outHeight <= kMaxCaptureSide;
    TScreenCaptureSettings s;
    s.CaptureMode = r::GetByte(record, r::kCaptureMode);
    s.WindowClass = r::GetShortString(record, r::kWindowClass, r::kWindowTextField);
    s.WindowCaption = r::GetShortString(record, r::kWindowCaption, r::kWindowTextField);
    s.CapturesWindow = s.CaptureMode == kCaptureModeSingle && !(s.WindowClass.empty() && s.WindowCaption.empty());
    const int left = r::GetInt32(record, r::kLeft), top = r::GetInt32(record, r::kTop);
    if (scaled) {
        s.Area = MakeRect(left, top, width, height);
        s.OutWidth = RoundUpTo16(outWidth);
        s.OutHeight = RoundUpTo16(outHeight);
    } else {
        // Unscaled, the picture is the rectangle grown to multiples of 16; what overhangs the screen is black.
        s.OutWidth = RoundUpTo16(width);
        s.OutHeight = RoundUpTo16(height);
        s.Area = MakeRect(left, top, s.OutWidth, s.OutHeight);
    }
    const int rate = r::GetInt32(record, r::kFrameRate);
    s.FrameRate = rate >= 1 && rate <= kMaxFrameRate ? rate : kDefaultFrameRate;
    s.CaptureMouse = r::GetByte(record, r::kCaptureMouse) != 0;
    s.SnapshotOutput = r::GetByte(record, r::kSnapshotOutput) != 0;
    s.VideoOutput = r::GetByte(record, r::kVideoOutput) != 0;
    return s;
}

}  // namespace platform
