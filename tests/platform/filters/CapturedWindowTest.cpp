// A window capture's pictures when the window misbehaves, on a display answered from tables and a
// screen that is white wherever it is read: just come on screen (not read before it has drawn itself),
// hidden or gone (nothing is read), of no size, hidden while its pixels are read, and a screen that
// cannot be read. Every such picture is black, never the desktop around or beneath the window.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/display/fake_display.h"
#include "platform/filters/BmpCodec.h"
#include "platform/filters/MemoryStream.h"
#include "platform/filters/ScreenCaptureData.h"
#include "platform/filters/ScreenCaptureFilter.h"
#include "platform/filters/ScreenSource.h"

namespace {

namespace r = screen_capture_record;
using platform::MakeRect;
using platform::TRect;

constexpr TRect kArea = {100, 100, 420, 340};  // 320 x 240
constexpr TRect kWindowRect = {150, 120, 350, 270};

// White wherever the filter reads; counts the reads, and fails them on request.
struct TScreenState {
    std::atomic<int> Reads{0};
    std::atomic<bool> Fails{false};
};
TScreenState g_screen;

class TWhiteScreen final : public platform::IScreenSource {
public:
    bool Grab(const TRect& area, const TRect& readable, uint8_t* frame, platform::TRowOrder order) override {
        ++g_screen.Reads;
        const TRect visible = area.Intersection(readable);
        if (g_screen.Fails || visible.IsEmpty()) {
            platform::ComposeFrame(area, {}, nullptr, 0, frame, order);
            return !g_screen.Fails;
        }
        const std::vector<uint8_t> row(static_cast<size_t>(visible.Width()) * 4, 0xFF);
        platform::ComposeFrame(area, visible, row.data(), 0, frame, order);
        return true;
    }
    bool FromDisplay() const override { return true; }
};

// A display on which a hook runs when the window's shown part is asked for: the moment between the
// search and the read.
class THookedDisplay final : public platform::TFakeDisplay {
public:
    std::optional<TRect> GetShownWindowRect(platform::WindowId w) override {
        std::optional<TRect> shown = TFakeDisplay::GetShownWindowRect(w);
        if (OnRead) OnRead(w);
        return shown;
    }
    std::function<void(platform::WindowId)> OnRead;
};

struct TPicture {
    bool Made = false;
    size_t White = 0, NotBlack = 0;
};

class CapturedWindowTest : public ::testing::Test {
public:
    // A fresh display and filter for each row.
    void Prepare() {
        display = std::make_shared<THookedDisplay>();
        display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
        platform::SetCurrentDisplay(display);
        g_screen.Reads = 0;
        g_screen.Fails = false;
        ASSERT_EQ(platform::TScreenCaptureFilter::CreateWithSource(
                      [] { return std::unique_ptr<platform::IScreenSource>(new TWhiteScreen); }, IScreenCaptureData::iid,
                      data.PutVoid()),
                  S_OK);
        TScreenCaptureFilterParams rec{};
        r::PutByte(rec, r::kCaptureMode, 2);
        r::PutByte(rec, r::kParamsKind, r::kParamsKindValue);
        r::PutInt32(rec, r::kLeft, kArea.Left);
        r::PutInt32(rec, r::kTop, kArea.Top);
        r::PutInt32(rec, r::kWidth, kArea.Width());
        r::PutInt32(rec, r::kHeight, kArea.Height());
        r::PutInt32(rec, r::kFrameRate, 25);
        r::PutShortString(rec, r::kWindowClass, r::kWindowTextField, "FwEditor");
        r::PutShortString(rec, r::kWindowCaption, r::kWindowTextField, "Editor");
        ASSERT_EQ(data->SetCaptureParams(rec), S_OK);
    }
    void TearDown() override {
        data.Reset();
        platform::SetCurrentDisplay(nullptr);
    }
    platform::WindowId AddWindow(const TRect& rect) {
        platform::TFakeWindow w;
        w.ClassName = "FwEditor";
        w.Caption = "Editor";
        w.Rect = rect;
        return display->AddWindow(w);
    }
    TPicture Take() {
        TPicture p;
        platform::TMemoryStream stream;
        platform::TBitmap bitmap;
        if (!data->GetImage(&stream) || !platform::DecodeBmp(stream.Data(), stream.Size(), bitmap)) return p;
        data->ReleaseImage();
        p.Made = true;
        for (size_t i = 0; i + 3 < bitmap.Pixels.size(); i += 4) {
            const bool white = bitmap.Pixels[i] == 0xFF && bitmap.Pixels[i + 1] == 0xFF && bitmap.Pixels[i + 2] == 0xFF;
            p.White += white;
            p.NotBlack += (bitmap.Pixels[i] | bitmap.Pixels[i + 1] | bitmap.Pixels[i + 2]) != 0;
        }
        return p;
    }

    std::shared_ptr<THookedDisplay> display;
    ComPtr<IScreenCaptureData> data;
};

TEST_F(CapturedWindowTest, OnlyTheShownWindowIsEverRead) {
    struct Case {
        const char* what;
        std::function<void(CapturedWindowTest&)> arrange;
        bool made;     // GetImage gives a picture
        size_t white;  // of the window's own pixels
        bool read;     // the screen was read at all
    };
    const size_t windowPixels = static_cast<size_t>(kWindowRect.Width()) * kWindowRect.Height();
    const Case cases[] = {
        {"shown", [](auto& t) { t.AddWindow(kWindowRect); }, true, windowPixels, true},
        {"partly outside the area", [](auto& t) { t.AddWindow(MakeRect(350, 300, 200, 200)); }, true, 70u * 40u, true},
        {"hidden", [](auto& t) { t.display->SetVisible(t.AddWindow(kWindowRect), false); }, true, 0, false},
        {"never opened", [](auto&) {}, true, 0, false},
        {"another caption", [](auto& t) {
             platform::TFakeWindow other;
             other.ClassName = "FwEditor";
             other.Caption = "Mail";
             other.Rect = kWindowRect;
             t.display->AddWindow(other);
         }, true, 0, false},
        {"of no size", [](auto& t) { t.AddWindow(MakeRect(200, 200, 0, 0)); }, true, 0, true},
        {"hidden while read", [](auto& t) {
             t.AddWindow(kWindowRect);
             t.display->OnRead = [&t](platform::WindowId w) { t.display->SetVisible(w, false); };
         }, true, 0, true},
        {"closed while read", [](auto& t) {
             t.AddWindow(kWindowRect);
             t.display->OnRead = [&t](platform::WindowId w) { t.display->RemoveWindow(w); };
         }, true, 0, true},
        {"the screen cannot be read", [](auto& t) {
             t.AddWindow(kWindowRect);
             g_screen.Fails = true;
         }, false, 0, true},
    };
    for (const Case& c : cases) {
        Prepare();
        c.arrange(*this);
        // A window that has just come on screen is given its moment to draw itself.
        const TPicture first = Take();
        EXPECT_EQ(first.NotBlack, 0u) << c.what << ": not read before it has drawn itself";
        std::this_thread::sleep_for(std::chrono::milliseconds(platform::kDrawnWithinMs));
        const TPicture picture = Take();
        EXPECT_EQ(picture.Made, c.made) << c.what;
        EXPECT_EQ(picture.White, c.white) << c.what;
        EXPECT_EQ(picture.NotBlack, c.white) << c.what << ": only the window's own pixels, the rest black";
        EXPECT_EQ(g_screen.Reads > 0, c.read) << c.what;
        data.Reset();
    }
}

}  // namespace
