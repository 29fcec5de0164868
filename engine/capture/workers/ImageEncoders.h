// The image encoders of the capture workers: PNG over libdeflate, JPEG over libjpeg-turbo and the program's
// own BMP codec behind one small interface. An encoder is made once per thread and reused for every
// picture; it keeps its output buffer, so a pass allocates nothing once the buffer has grown.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/filters/BmpCodec.h"

struct jpeg_compress_struct;
struct libdeflate_compressor;

namespace engine {

constexpr int kMinPngLevel = 0;
constexpr int kMaxPngLevel = 9;
constexpr int kMinJpegQuality = 1;
constexpr int kMaxJpegQuality = 100;

class TImageEncoder {
public:
    virtual ~TImageEncoder() = default;
    // Encodes picture into Bytes(); false with a reason in *error (Bytes() is then undefined).
    virtual bool Encode(const platform::TBitmap& picture, std::string* error = nullptr) = 0;
    std::string_view Bytes() const { return {reinterpret_cast<const char*>(out_.data()), out_.size()}; }

protected:
    std::vector<uint8_t> out_;
};

// 24-bit RGB PNG; levels outside 0..9 are taken as the nearest limit. The level is the deflate
// effort as zlib numbers it (0 stores, 1 fastest, 9 smallest), spent by libdeflate, which packs
// tighter than zlib at the same level in a third of the time.
class TPngEncoder final : public TImageEncoder {
public:
    explicit TPngEncoder(int level);
    ~TPngEncoder() override;
    TPngEncoder(const TPngEncoder&) = delete;
    TPngEncoder& operator=(const TPngEncoder&) = delete;
    bool Encode(const platform::TBitmap& picture, std::string* error = nullptr) override;
    int Level() const { return level_; }

private:
    struct CompressorDeleter {
        void operator()(libdeflate_compressor* c) const;
    };
    const int level_;
    std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor_;
    std::vector<uint8_t> lines_;       // the current line and the one above it, as RGB
    std::vector<uint8_t> filtered_;    // every line with its filter byte: what is compressed
    std::vector<uint8_t> compressed_;  // the zlib stream before it is cut into chunks
};

// Baseline JPEG with 4:2:0 chroma; qualities outside 1..100 are taken as the nearest limit.
class TJpegEncoder final : public TImageEncoder {
public:
    explicit TJpegEncoder(int quality);
    ~TJpegEncoder() override;
    TJpegEncoder(const TJpegEncoder&) = delete;
    TJpegEncoder& operator=(const TJpegEncoder&) = delete;
    bool Encode(const platform::TBitmap& picture, std::string* error = nullptr) override;
    int Quality() const { return quality_; }

    struct State;  // the libjpeg compressor with its error and destination managers

private:
    const int quality_;
    std::unique_ptr<State> state_;
};

// 32-bit bitmap file through the program's BMP codec.
class TBmpEncoder final : public TImageEncoder {
public:
    bool Encode(const platform::TBitmap& picture, std::string* error = nullptr) override;
};

// The snapshot formats: 0 PNG, 1 JPEG, 2 BMP; none for any other value.
std::unique_ptr<TImageEncoder> MakeSnapshotEncoder(int imageFormat, int pngLevel, int jpegQuality);

}  // namespace engine
