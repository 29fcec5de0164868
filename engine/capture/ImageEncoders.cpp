#include "engine/capture/ImageEncoders.h"

#include <png.h>

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

constexpr size_t kCodecMessageBytes = 200;

struct PngErrorSink {
    char message[kCodecMessageBytes] = "PNG encoder error";
};

void PngError(png_structp png, png_const_charp text) {
    auto* sink = static_cast<PngErrorSink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "PNG encoder: %s", text ? text : "error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        out->insert(out->end(), data, data + length);
    } catch (...) {
        grown = false;
    }
    if (!grown) png_error(png, "out of memory");  // outside the handler: it does not return
}

void PngFlush(png_structp) {}

// One libpng write structure with its info structure.
class PngWriteHandle {
public:
    explicit PngWriteHandle(PngErrorSink* sink)
        : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, sink, PngError, PngWarning)),
          info_(png_ ? png_create_info_struct(png_) : nullptr) {}
    ~PngWriteHandle() { png_destroy_write_struct(&png_, &info_); }
    PngWriteHandle(const PngWriteHandle&) = delete;
    PngWriteHandle& operator=(const PngWriteHandle&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_;
    png_infop info_;
};

}  // namespace

TPngEncoder::TPngEncoder(int level) : level_(std::clamp(level, kMinPngLevel, kMaxPngLevel)) {}

bool TPngEncoder::Encode(const platform::TBitmap& picture, std::string* error) {
    if (!PictureUsable(picture)) return Fail(error, "PNG encoder: empty picture");
    out_.clear();
    PngErrorSink sink;
    PngWriteHandle handle(&sink);
    if (!handle.png() || !handle.info()) return Fail(error, "PNG encoder: out of memory");
    png_structp png = handle.png();
    if (setjmp(png_jmpbuf(png))) return Fail(error, sink.message);
    png_set_write_fn(png, &out_, PngWrite, PngFlush);
    png_set_IHDR(png, handle.info(), static_cast<png_uint_32>(picture.Width), static_cast<png_uint_32>(picture.Height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level_);
    png_write_info(png, handle.info());
    // Our pixels are blue, green, red, unused: libpng drops the fourth byte and swaps red and blue.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < picture.Height; ++y) png_write_row(png, const_cast<png_bytep>(picture.Row(y)));
    png_write_end(png, nullptr);
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
