// Time to encode one 1920x1080 snapshot as JPEG (quality 80) and PNG (level 6), side by side with
// libjpeg-turbo's cjpeg (Debian libjpeg-turbo-progs) run on the same picture, and with libpng at the
// same level and its default filters and strategy. Targets: our JPEG within 1.2x of cjpeg; our PNG at
// most 40 ms and at most 10% larger than libpng's. cjpeg's figure is the whole run of the program
// (start, reading the PPM, writing the file); ours is shown both in memory and with the file written,
// the way the snapshot thread does it.
//
//   engine_capture_image_encode_bench [runs] [path of cjpeg]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <string>
#include <vector>

#include <png.h>

#include "engine/capture/workers/ChildProgram.h"
#include "engine/capture/workers/ImageEncoders.h"
#include "engine/util/atomic_file.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kJpegQuality = 80;
constexpr int kPngLevel = 6;
constexpr std::chrono::milliseconds kCjpegTimeout{30000};
constexpr double kPngTargetMs = 40;
constexpr double kPngSizeTarget = 1.10;

// Something like a desktop: flat panels, a gradient background, text-like stripes and a photo-like
// noisy area.
platform::TBitmap DesktopPicture() {
    platform::TBitmap b;
    b.Width = kWidth;
    b.Height = kHeight;
    b.Pixels.resize(static_cast<size_t>(kWidth) * kHeight * 4);
    uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = b.Row(y) + x * 4;
            uint8_t blue = static_cast<uint8_t>(80 + y * 100 / kHeight), green = static_cast<uint8_t>(x * 60 / kWidth + 40),
                    red = 30;
            if (x > 200 && x < 1100 && y > 100 && y < 800) {  // a window with text lines
                blue = green = red = 240;
                if ((y / 14) % 2 == 0 && ((x / 7) % 5) != 0 && (y % 14) > 3) blue = green = red = 20;
            }
            if (x > 1200 && x < 1800 && y > 200 && y < 700) {  // a photo
                noise = noise * 1664525u + 1013904223u;
                red = static_cast<uint8_t>((x + (noise >> 28)) & 0xFF);
                green = static_cast<uint8_t>((y * 2 + (noise >> 26)) & 0xFF);
                blue = static_cast<uint8_t>(((x + y) / 3) & 0xFF);
            }
            p[0] = blue;
            p[1] = green;
            p[2] = red;
            p[3] = 0;
        }
    }
    return b;
}

void WritePpm(const platform::TBitmap& b, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << b.Width << " " << b.Height << "\n255\n";
    std::vector<char> row(static_cast<size_t>(b.Width) * 3);
    for (int y = 0; y < b.Height; ++y) {
        const uint8_t* in = b.Row(y);
        for (int x = 0; x < b.Width; ++x) {
            row[x * 3] = static_cast<char>(in[x * 4 + 2]);
            row[x * 3 + 1] = static_cast<char>(in[x * 4 + 1]);
            row[x * 3 + 2] = static_cast<char>(in[x * 4]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}

// libpng with its default filter choice and zlib strategy: the reference for size and time.
size_t LibpngBytes(const platform::TBitmap& b, int level) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(b.Width), static_cast<png_uint_32>(b.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < b.Height; ++y) png_write_row(png, const_cast<png_bytep>(b.Row(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out.size();
}

// Median milliseconds of runs calls (after one warm-up call); a call that fails ends the measuring.
double MedianMs(int runs, const std::function<bool()>& call) {
    if (!call()) return -1;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        if (!call()) return -1;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string cjpeg = argc > 2 ? argv[2] : "/usr/bin/cjpeg";
    const platform::TBitmap picture = DesktopPicture();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("fw_encode_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string ppm = (dir / "picture.ppm").string();
    WritePpm(picture, ppm);

    engine::TJpegEncoder jpeg(kJpegQuality);
    engine::TPngEncoder png(kPngLevel);
    const double jpegMs = MedianMs(runs, [&] { return jpeg.Encode(picture); });
    const size_t jpegBytes = jpeg.Bytes().size();
    const double jpegFileMs = MedianMs(runs, [&] {
        return jpeg.Encode(picture) && engine::WriteFileAtomic((dir / "ours.jpg").string(), jpeg.Bytes());
    });
    const double pngMs = MedianMs(std::max(1, runs / 3), [&] { return png.Encode(picture); });
    const size_t pngBytes = png.Bytes().size();
    size_t libpngBytes = 0;
    const double libpngMs = MedianMs(std::max(1, runs / 3), [&] { return (libpngBytes = LibpngBytes(picture, kPngLevel)) > 0; });

    double cjpegMs = -1;
    size_t cjpegBytes = 0;
    if (std::filesystem::exists(cjpeg)) {
        const std::string out = (dir / "cjpeg.jpg").string();
        cjpegMs = MedianMs(runs, [&] {
            engine::TChildProgram program;
            const engine::TProgramRun run =
                program.Run({cjpeg, "-quality", std::to_string(kJpegQuality), "-outfile", out, ppm}, kCjpegTimeout);
            return run.Outcome == engine::TProgramOutcome::Finished && run.ExitCode == 0;
        });
        std::error_code ec;
        cjpegBytes = static_cast<size_t>(std::filesystem::file_size(out, ec));
    }

    std::printf("snapshot %dx%d, median of %d runs\n", kWidth, kHeight, runs);
    std::printf("  JPEG q%d  ours in memory   %8.2f ms  %8zu bytes\n", kJpegQuality, jpegMs, jpegBytes);
    std::printf("  JPEG q%d  ours + file      %8.2f ms\n", kJpegQuality, jpegFileMs);
    if (cjpegMs >= 0)
        std::printf("  JPEG q%d  cjpeg (program)  %8.2f ms  %8zu bytes\n", kJpegQuality, cjpegMs, cjpegBytes);
    else
        std::printf("  JPEG q%d  cjpeg            not found at %s (Debian libjpeg-turbo-progs)\n", kJpegQuality,
                    cjpeg.c_str());
    std::printf("  PNG  l%d   ours in memory   %8.2f ms  %8zu bytes\n", kPngLevel, pngMs, pngBytes);
    std::printf("  PNG  l%d   libpng defaults  %8.2f ms  %8zu bytes\n", kPngLevel, libpngMs, libpngBytes);
    if (libpngBytes > 0)
        std::printf("  PNG ours: %.1f ms (target <= %.0f), size ours/libpng = %.2f (target <= %.2f)\n", pngMs,
                    kPngTargetMs, static_cast<double>(pngBytes) / static_cast<double>(libpngBytes), kPngSizeTarget);
    if (cjpegMs > 0)
        std::printf("  ours + file / cjpeg = %.2f (target <= 1.20)\n", jpegFileMs / cjpegMs);

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
