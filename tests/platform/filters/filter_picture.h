// One picture of the screen-capture filter, taken as the snapshot thread takes it (GetImage into a
// stream, the bitmap decoded), its pixels counted by colour.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/filters/BmpCodec.h"
#include "platform/filters/MemoryStream.h"
#include "platform/filters/ScreenCaptureData.h"

namespace fw_test {

struct TPictureColours {
    bool Any = false;     // a picture came at all
    size_t Red = 0;       // pixels of 0xFF0000
    size_t Green = 0;     // pixels of 0x00FF00
    size_t NotBlack = 0;
};

inline TPictureColours TakeFilterPicture(IScreenCaptureData& filter) {
    TPictureColours c;
    platform::TMemoryStream stream;
    if (!filter.GetImage(&stream)) return c;
    platform::TBitmap picture;
    if (!platform::DecodeBmp(stream.Data(), stream.Size(), picture)) return c;
    filter.ReleaseImage();
    c.Any = true;
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            const uint8_t* px = picture.Row(y) + 4 * x;
            const uint32_t rgb = (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
            c.Red += rgb == 0xFF0000;
            c.Green += rgb == 0x00FF00;
            c.NotBlack += rgb != 0;
        }
    return c;
}

}  // namespace fw_test
