// What the share-worker tests share: a log list that keeps every line seen, a notifier that counts,
// a picture source that hands out known pictures, test pictures and small PNG/JPEG readers.
#pragma once

#include <png.h>
#include <stdio.h>

#include <jpeglib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/capture/settings/CaptureNotify.h"
#include "engine/capture/settings/SnapshotSource.h"
#include "engine/capture/workers/WorkerThread.h"
#include "engine/settings/log_list.h"
#include "platform/filters/BmpCodec.h"
#include "tests/support/test_env.h"

namespace fw_test {

// Collects the entries of a log list as they come.
class LogRecorder {
public:
    std::shared_ptr<engine::TLogList> list = std::make_shared<engine::TLogList>();

    std::vector<engine::TLogListEntry> Entries() {
        std::lock_guard lock(mutex_);
        for (auto& e : list->TakeAll()) seen_.push_back(std::move(e));
        return seen_;
    }
    int Count(const std::string& text) {
        auto all = Entries();
        return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const auto& e) { return e.Text == text; }));
    }
    int CountStartingWith(const std::string& prefix, int level = -1) {
        auto all = Entries();
        return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const auto& e) {
            return e.Text.rfind(prefix, 0) == 0 && (level < 0 || e.Level == level);
        }));
    }
    bool WaitFor(const std::string& text, int times = 1, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        return WaitUntil([&] { return Count(text) >= times; }, timeout);
    }
    bool WaitForPrefix(const std::string& prefix, int times = 1,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        return WaitUntil([&] { return CountStartingWith(prefix) >= times; }, timeout);
    }

private:
    std::mutex mutex_;
    std::vector<engine::TLogListEntry> seen_;
};

// Counts the notifications by code and keeps when each was posted.
class CountingNotifier : public engine::ICaptureNotifier {
public:
    void Post(intptr_t wParam, intptr_t lParam) override {
        std::lock_guard lock(mutex_);
        ++counts_[wParam];
        times_[wParam].push_back(std::chrono::steady_clock::now());
        if (lParam != 0) ++nonZeroLParams_;
    }
    int Count(intptr_t wParam) {
        std::lock_guard lock(mutex_);
        return counts_[wParam];
    }
    std::vector<std::chrono::steady_clock::time_point> Times(intptr_t wParam) {
        std::lock_guard lock(mutex_);
        return times_[wParam];
    }
    int NonZeroLParams() {
        std::lock_guard lock(mutex_);
        return nonZeroLParams_;
    }

private:
    std::mutex mutex_;
    std::map<intptr_t, int> counts_;
    std::map<intptr_t, std::vector<std::chrono::steady_clock::time_point>> times_;
    int nonZeroLParams_ = 0;
};

// A picture with a pattern in every channel (blue, green, red, unused).
inline platform::TBitmap TestPicture(int width, int height) {
    platform::TBitmap b;
    b.Width = width;
    b.Height = height;
    b.Pixels.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = b.Row(y) + x * 4;
            p[0] = static_cast<uint8_t>(x * 7 + y);
            p[1] = static_cast<uint8_t>(y * 5);
            p[2] = static_cast<uint8_t>(255 - x * 3);
            p[3] = 0;
        }
    return b;
}

// Hands out a fixed picture, or nothing while empty; counts the grabs.
class FakeSnapshotSource : public engine::ISnapshotSource {
public:
    explicit FakeSnapshotSource(platform::TBitmap picture = {}) : picture_(std::move(picture)) {}
    bool GetImage(platform::TBitmap& picture) override {
        ++grabs;
        std::lock_guard lock(mutex_);
        if (picture_.Empty()) return false;
        picture = picture_;
        return true;
    }
    void Set(platform::TBitmap picture) {
        std::lock_guard lock(mutex_);
        picture_ = std::move(picture);
    }
    std::atomic<int> grabs{0};

private:
    std::mutex mutex_;
    platform::TBitmap picture_;
};

// WriteFile with the file's folders made first.
inline void MakeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    WriteFile(file, bytes);
}

// The mean difference of the colour channels of two pictures of the same size (256 when they differ
// in size).
inline double MeanChannelDifference(const platform::TBitmap& a, const platform::TBitmap& b) {
    if (a.Width != b.Width || a.Height != b.Height || a.Pixels.empty()) return 256;
    double sum = 0;
    size_t n = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) {
        if (i % 4 == 3) continue;
        sum += std::abs(int(a.Pixels[i]) - int(b.Pixels[i]));
        ++n;
    }
    return sum / static_cast<double>(n);
}

inline bool HasPngSignature(const std::string& bytes) {
    return bytes.size() > 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}
inline bool HasJpegSoi(const std::string& bytes) {
    return bytes.size() > 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xD8;
}

// Width and height from the IHDR chunk, which follows the signature.
inline std::pair<int, int> PngSize(const std::string& bytes) {
    if (!HasPngSignature(bytes) || bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
               (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
    };
    return {static_cast<int>(be32(16)), static_cast<int>(be32(20))};
}

// Decodes a PNG into blue, green, red, unused pixels; an empty picture when it is no PNG.
inline platform::TBitmap DecodePng(const std::string& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    platform::TBitmap out;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return out;
    image.format = PNG_FORMAT_BGRA;
    out.Width = static_cast<int>(image.width);
    out.Height = static_cast<int>(image.height);
    out.Pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.Pixels.data(), 0, nullptr)) return {};
    for (size_t i = 3; i < out.Pixels.size(); i += 4) out.Pixels[i] = 0;
    return out;
}

// Decodes a JPEG into blue, green, red, unused pixels (the default libjpeg error handler ends the
// program on a damaged file, which the tests never hand it).
inline platform::TBitmap DecodeJpeg(const std::string& bytes) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    platform::TBitmap out;
    if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
        cinfo.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&cinfo);
        out.Width = static_cast<int>(cinfo.output_width);
        out.Height = static_cast<int>(cinfo.output_height);
        out.Pixels.resize(static_cast<size_t>(out.Width) * out.Height * 4);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = out.Row(static_cast<int>(cinfo.output_scanline));
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return out;
}

// The largest difference of one channel between two pictures of the same size (256 when they differ
// in size).
inline int MaxChannelDifference(const platform::TBitmap& a, const platform::TBitmap& b) {
    if (a.Width != b.Width || a.Height != b.Height) return 256;
    int worst = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) {
        if (i % 4 == 3) continue;
        worst = std::max(worst, std::abs(int(a.Pixels[i]) - int(b.Pixels[i])));
    }
    return worst;
}

// Waits until every worker thread of the process has ended.
inline bool WaitForNoWorkers(std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
    return WaitUntil([] { return engine::TWorkerThread::RunningCount() == 0; }, timeout);
}

}  // namespace fw_test
