#include "components/IconImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <climits>

namespace components {

namespace {

constexpr int kDirHeaderBytes = 6;
constexpr int kDirEntryBytes = 16;
constexpr int kBitmapHeaderBytes = 40;
constexpr int kEntryImageOffsetAt = 12;
constexpr int kHeaderBitCountAt = 14;

const char kSupportedFormats[] =
    "\rfollowing formats are supported\r16x16 pixels  2/16/256 colors\r32x32 pixels  2/16/256 colors";

uint32_t ReadLe(const QByteArray& b, qsizetype at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}

void AppendLe(QByteArray& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

int NearestPaletteIndex(QRgb pixel) {
    int best = 0;
    long bestDistance = LONG_MAX;
    for (int i = 0; i < 16; ++i) {
        const long dr = qRed(pixel) - static_cast<long>(kIconPalette[i] & 0xFF);
        const long dg = qGreen(pixel) - static_cast<long>((kIconPalette[i] >> 8) & 0xFF);
        const long db = qBlue(pixel) - static_cast<long>((kIconPalette[i] >> 16) & 0xFF);
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

}  // namespace

int TIconImage::Width() const {
    if (bytes_.size() < kDirHeaderBytes + kDirEntryBytes) return 0;
    const int w = static_cast<uint8_t>(bytes_[kDirHeaderBytes]);
    return w == 0 ? 256 : w;
}

int TIconImage::Height() const {
    if (bytes_.size() < kDirHeaderBytes + kDirEntryBytes) return 0;
    const int h = static_cast<uint8_t>(bytes_[kDirHeaderBytes + 1]);
    return h == 0 ? 256 : h;
}

int TIconImage::BitCount() const {
    if (bytes_.size() < kDirHeaderBytes + kDirEntryBytes) return 0;
    const qsizetype offset = ReadLe(bytes_, kDirHeaderBytes + kEntryImageOffsetAt, 4);
    if (offset < 0 || offset > bytes_.size() - kHeaderBitCountAt - 2) return 0;
    return static_cast<int>(ReadLe(bytes_, offset + kHeaderBitCountAt, 2));
}

QString TIconImage::FormatError() const {
    if (IsEmpty()) return {};
    const int w = Width();
    const int h = Height();
    if ((w == 16 && h == 16) || (w == 32 && h == 32)) {
        const int bits = BitCount();
        if (bits != 1 && bits != 4 && bits != 8)
            return QStringLiteral("Icon-Format %1 bits per pixel is not supported !\r").arg(bits) +
                   QLatin1String(kSupportedFormats);
        const qsizetype needed = BytesNeeded();
        if (bytes_.size() < needed)
            return QStringLiteral("Icon-Image is damaged: %1 of its %2 bytes are there !").arg(bytes_.size()).arg(needed);
        return {};
    }
    return QStringLiteral("Icon-Format %1x%2 is not supported !\r").arg(w).arg(h) + QLatin1String(kSupportedFormats);
}

// Directory, bitmap header, colour table, colour bits and mask bits of a supported format.
qsizetype TIconImage::BytesNeeded() const {
    const qsizetype offset = ReadLe(bytes_, kDirHeaderBytes + kEntryImageOffsetAt, 4);
    const qsizetype headerBytes = ReadLe(bytes_, offset, 4);
    const int bits = BitCount();
    const int w = Width();
    const int colourStride = ((w * bits + 31) / 32) * 4;
    const int maskStride = ((w + 31) / 32) * 4;
    return offset + headerBytes + 4 * (qsizetype(1) << bits) + qsizetype(colourStride + maskStride) * Height();
}

QIcon TIconImage::ToQIcon() const {
    if (IsEmpty()) return {};
    QByteArray copy = bytes_;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ICO");
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return QIcon(QPixmap::fromImage(image));
}

TIconImage TIconImage::Encode4Bit(const QImage& source, int size) {
    const QImage image = source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    const int colourStride = ((size * 4 + 31) / 32) * 4;
    const int maskStride = ((size + 31) / 32) * 4;
    const uint32_t imageBytes = kBitmapHeaderBytes + 16 * 4 + (colourStride + maskStride) * size;

    QByteArray b;
    AppendLe(b, 0, 2);  // reserved
    AppendLe(b, 1, 2);  // type: icon
    AppendLe(b, 1, 2);  // one image
    b.append(static_cast<char>(size));
    b.append(static_cast<char>(size));
    b.append(static_cast<char>(16));  // colours
    b.append('\0');
    AppendLe(b, 1, 2);  // planes
    AppendLe(b, 4, 2);  // bits per pixel
    AppendLe(b, imageBytes, 4);
    AppendLe(b, kDirHeaderBytes + kDirEntryBytes, 4);

    AppendLe(b, kBitmapHeaderBytes, 4);
    AppendLe(b, size, 4);
    AppendLe(b, size * 2, 4);  // colour and mask bits together
    AppendLe(b, 1, 2);
    AppendLe(b, 4, 2);
    AppendLe(b, 0, 4);  // uncompressed
    AppendLe(b, (colourStride + maskStride) * size, 4);
    AppendLe(b, 0, 4);
    AppendLe(b, 0, 4);
    AppendLe(b, 0, 4);
    AppendLe(b, 0, 4);
    for (uint32_t c : kIconPalette) {
        b.append(static_cast<char>((c >> 16) & 0xFF));  // blue
        b.append(static_cast<char>((c >> 8) & 0xFF));   // green
        b.append(static_cast<char>(c & 0xFF));          // red
        b.append('\0');
    }

    QByteArray mask;
    for (int y = size - 1; y >= 0; --y) {  // the first stored row is the bottom one
        QByteArray colourRow(colourStride, '\0');
        QByteArray maskRow(maskStride, '\0');
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) < 128) {
                maskRow[x / 8] = static_cast<char>(maskRow[x / 8] | (0x80 >> (x % 8)));
                continue;
            }
            const int index = NearestPaletteIndex(pixel);
            colourRow[x / 2] = static_cast<char>(colourRow[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        b.append(colourRow);
        mask.append(maskRow);
    }
    b.append(mask);
    return TIconImage(b);
}

}  // namespace components
