// An icon as its file image: a 6-byte directory header, one 16-byte directory entry and the image as a
// bottom-up bitmap (header, colour table, colour bits, mask bits). The tray takes only 16 x 16 and
// 32 x 32 icons with 1, 4 or 8 bits per pixel whose image is all there; FormatError names what is wrong
// with any other.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>
#include <cstdint>

namespace components {

// The 16 standard colours (0x00BBGGRR) of 4-bit icons.
inline constexpr uint32_t kIconPalette[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

class TIconImage {
public:
    TIconImage() = default;
    explicit TIconImage(QByteArray fileImage) : bytes_(std::move(fileImage)) {}

    // A 4-bit icon of the image scaled to size x size (16 or 32), each pixel the nearest standard colour;
    // pixels less than half opaque are left transparent.
    static TIconImage Encode4Bit(const QImage& image, int size);

    bool IsEmpty() const { return bytes_.isEmpty(); }
    const QByteArray& Bytes() const { return bytes_; }
    // From the directory entry (0 stands for 256); 0 when the image is too short to tell.
    int Width() const;
    int Height() const;
    // From the bitmap header of the image; 0 when it has none.
    int BitCount() const;

    // Empty when the icon is empty or of a supported format, else the text that tells the user why not.
    QString FormatError() const;

    // What the tray shows; a null icon when the image cannot be decoded.
    QIcon ToQIcon() const;

    bool operator==(const TIconImage& other) const { return bytes_ == other.bytes_; }

private:
    qsizetype BytesNeeded() const;  // of an image whose size and bit count are supported

    QByteArray bytes_;
};

}  // namespace components
