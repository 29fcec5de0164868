// The pictures of a transport-stream file (an HLS segment), decoded by the installed libVLC into
// 32-bit pixels, and the mean colour of a picture.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace fw_test {

struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;  // 0xAARRGGBB, row by row
};

struct TMeanColour {
    double Red = 0, Green = 0, Blue = 0;
};

// Plays the file through and hands every picture libVLC shows to onPicture (on one of libVLC's
// threads); the number of pictures shown within the time.
size_t DecodeTsPictures(const std::filesystem::path& file, std::chrono::milliseconds timeout,
                        const std::function<void(const TPicture&)>& onPicture);
// Nothing when libVLC decoded no picture of the file within the time.
std::optional<TPicture> DecodeLastTsPicture(const std::filesystem::path& file, std::chrono::milliseconds timeout);

TMeanColour MeanColour(const TPicture& picture);

}  // namespace fw_test
