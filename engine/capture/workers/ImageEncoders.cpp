#include "engine/capture/workers/ImageEncoders.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace engine {

namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

bool PictureUsable(const platform::TBitmap& picture) {
    return !picture.Empty() &&
           picture.Pixels.size() >= static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height) * 4;
}

// ---- PNG ----

constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kPngBytesPerPixel = 3;
constexpr uint8_t kPngFilterNone = 0;
constexpr uint8_t kPngFilterUp = 2;
// IDAT chunks are cut at this size, as encoders commonly do; any size up to 2^31 - 1 would be valid.
constexpr size_t kPngIdatChunkBytes = 1024 * 1024;

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    const uint8_t bytes[] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                             static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    out.insert(out.end(), bytes, bytes + 4);
}

// Length, type, data and the CRC of type and data.
void AppendPngChunk(std::vector<uint8_t>& out, const char (&type)[5], const uint8_t* data, size_t length) {
    AppendBigEndian32(out, static_cast<uint32_t>(length));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (length > 0) out.insert(out.end(), data, data + length);
    AppendBigEndian32(out, libdeflate_crc32(0, out.data() + typeAt, 4 + length));
}

// One scan line of the blue, green, red, unused picture as red, green, blue.
void ToRgbRow(const uint8_t* bgrx, int width, uint8_t* rgb) {
    for (int x = 0; x < width; ++x, bgrx += 4, rgb += kPngBytesPerPixel) {
        rgb[0] = bgrx[2];
        rgb[1] = bgrx[1];
        rgb[2] = bgrx[0];
    }
}

}  // namespace

void TPngEncoder::CompressorDeleter::operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }

TPngEncoder::TPngEncoder(int level)
    : level_(std::clamp(level, kMinPngLevel, kMaxPngLevel)), compressor_(libdeflate_alloc_compressor(level_)) {}

TPngEncoder::~TPngEncoder() = default;

bool TPngEncoder::Encode(const platform::TBitmap& picture, std::string* error) {
    if (!PictureUsable(picture)) return Fail(error, "PNG encoder: empty picture");
    if (!compressor_) return Fail(error, "PNG encoder: out of memory");
    const size_t rowBytes = static_cast<size_t>(picture.Width) * kPngBytesPerPixel;
    try {
        // Every line is filtered against the one above it ("Up": the rows of a desktop repeat),
        // except at level 0, which stores the lines as they are.
        const uint8_t filter = level_ == 0 ? kPngFilterNone : kPngFilterUp;
        filtered_.resize((rowBytes + 1) * static_cast<size_t>(picture.Height));
        lines_.assign(2 * rowBytes, 0);  // the line above the first is zeros
        uint8_t* above = lines_.data();
        uint8_t* current = lines_.data() + rowBytes;
        for (int y = 0; y < picture.Height; ++y) {
            uint8_t* line = filtered_.data() + static_cast<size_t>(y) * (rowBytes + 1);
            line[0] = filter;
            ToRgbRow(picture.Row(y), picture.Width, current);
            if (filter == kPngFilterUp) {
                for (size_t i = 0; i < rowBytes; ++i) line[1 + i] = static_cast<uint8_t>(current[i] - above[i]);
            } else {
                std::copy_n(current, rowBytes, line + 1);
            }
            std::swap(above, current);
        }
        compressed_.resize(libdeflate_zlib_compress_bound(compressor_.get(), filtered_.size()));
        const size_t packed = libdeflate_zlib_compress(compressor_.get(), filtered_.data(), filtered_.size(),
                                                       compressed_.data(), compressed_.size());
        if (packed == 0) return Fail(error, "PNG encoder: compression failed");

        out_.assign(std::begin(kPngSignature), std::end(kPngSignature));
        std::vector<uint8_t> header;
        AppendBigEndian32(header, static_cast<uint32_t>(picture.Width));
        AppendBigEndian32(header, static_cast<uint32_t>(picture.Height));
        const uint8_t depthAndKind[] = {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, adaptive filters, not interlaced
        header.insert(header.end(), std::begin(depthAndKind), std::end(depthAndKind));
        AppendPngChunk(out_, "IHDR", header.data(), header.size());
        for (size_t at = 0; at < packed; at += kPngIdatChunkBytes)
            AppendPngChunk(out_, "IDAT", compressed_.data() + at, std::min(kPngIdatChunkBytes, packed - at));
        AppendPngChunk(out_, "IEND", nullptr, 0);
    } catch (const std::bad_alloc&) {
        return Fail(error, "PNG encoder: out of memory");
    }
    return true;
}

// ---- JPEG ----

namespace {
constexpr size_t kJpegChunkBytes = 64 * 1024;
constexpr int kJpegRowsPerCall = 16;
}  // namespace

struct TJpegEncoder::State {
    struct ErrorManager {
        jpeg_error_mgr mgr;
        std::jmp_buf jump;
        char message[JMSG_LENGTH_MAX];
    };

    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    jpeg_destination_mgr dest{};
    std::vector<uint8_t>* out = nullptr;
    bool outOfMemory = false;
    bool created = false;
    std::array<JOCTET, kJpegChunkBytes> chunk{};

    static State& Of(j_compress_ptr cinfo) { return *static_cast<State*>(cinfo->client_data); }

    static void ErrorExit(j_common_ptr cinfo) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        (*cinfo->err->format_message)(cinfo, err->message);
        std::longjmp(err->jump, 1);
    }
    static void OutputMessage(j_common_ptr) {}

    bool Append(size_t bytes) {
        try {
            out->insert(out->end(), chunk.data(), chunk.data() + bytes);
            return true;
        } catch (...) {
            return false;
        }
    }
    static void InitDestination(j_compress_ptr cinfo) {
        State& s = Of(cinfo);
        s.dest.next_output_byte = s.chunk.data();
        s.dest.free_in_buffer = s.chunk.size();
    }
    static boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
        State& s = Of(cinfo);
        if (!s.Append(s.chunk.size())) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
        InitDestination(cinfo);
        return TRUE;
    }
    static void TermDestination(j_compress_ptr cinfo) {
        State& s = Of(cinfo);
        if (!s.Append(s.chunk.size() - s.dest.free_in_buffer)) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    }
};

TJpegEncoder::TJpegEncoder(int quality)
    : quality_(std::clamp(quality, kMinJpegQuality, kMaxJpegQuality)), state_(std::make_unique<State>()) {
    State& s = *state_;
    s.cinfo.err = jpeg_std_error(&s.err.mgr);
    s.err.mgr.error_exit = State::ErrorExit;
    s.err.mgr.output_message = State::OutputMessage;
    if (setjmp(s.err.jump)) return;  // created stays false: every Encode then fails
    jpeg_create_compress(&s.cinfo);
    s.created = true;
    s.cinfo.client_data = &s;
    s.dest.init_destination = State::InitDestination;
    s.dest.empty_output_buffer = State::EmptyOutputBuffer;
    s.dest.term_destination = State::TermDestination;
    s.cinfo.dest = &s.dest;
    s.out = &out_;
}

TJpegEncoder::~TJpegEncoder() {
    if (state_->created) jpeg_destroy_compress(&state_->cinfo);
}

bool TJpegEncoder::Encode(const platform::TBitmap& picture, std::string* error) {
    State& s = *state_;
    if (!s.created) return Fail(error, "JPEG encoder: could not be created");
    if (!PictureUsable(picture)) return Fail(error, "JPEG encoder: empty picture");
    out_.clear();
    if (setjmp(s.err.jump)) {
        jpeg_abort_compress(&s.cinfo);
        return Fail(error, std::string("JPEG encoder: ") + s.err.message);
    }
    s.cinfo.image_width = static_cast<JDIMENSION>(picture.Width);
    s.cinfo.image_height = static_cast<JDIMENSION>(picture.Height);
    s.cinfo.input_components = 4;
    s.cinfo.in_color_space = JCS_EXT_BGRX;  // our pixel layout, read without a conversion pass
    jpeg_set_defaults(&s.cinfo);
    jpeg_set_quality(&s.cinfo, quality_, TRUE);
    jpeg_start_compress(&s.cinfo, TRUE);
    JSAMPROW rows[kJpegRowsPerCall];
    while (s.cinfo.next_scanline < s.cinfo.image_height) {
        const JDIMENSION first = s.cinfo.next_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(kJpegRowsPerCall, s.cinfo.image_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = const_cast<JSAMPROW>(picture.Row(static_cast<int>(first + i)));
        jpeg_write_scanlines(&s.cinfo, rows, count);
    }
    jpeg_finish_compress(&s.cinfo);
    return true;
}

// ---- BMP ----

bool TBmpEncoder::Encode(const platform::TBitmap& picture, std::string* error) {
    if (!PictureUsable(picture)) return Fail(error, "BMP encoder: empty picture");
    const size_t bytes = platform::BmpFileBytes(picture.Width, picture.Height);
    out_.resize(bytes);
    if (bytes == 0 || !platform::WriteBmp32(picture.Pixels.data(), picture.Width, picture.Height,
                                            platform::TRowOrder::TopDown, out_.data()))
        return Fail(error, "BMP encoder: picture too large");
    return true;
}

std::unique_ptr<TImageEncoder> MakeSnapshotEncoder(int imageFormat, int pngLevel, int jpegQuality) {
    switch (imageFormat) {
        case 0: return std::make_unique<TPngEncoder>(pngLevel);
        case 1: return std::make_unique<TJpegEncoder>(jpegQuality);
        case 2: return std::make_unique<TBmpEncoder>();
        default: return nullptr;
    }
}

}  // namespace engine
