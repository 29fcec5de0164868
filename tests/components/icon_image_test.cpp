// Icon file images: the formats the tray takes, the messages for the others, and the program's own
// 4-bit icons decoded back.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "components/IconImage.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

// A directory entry and bitmap header of the given format; for up to 8 bits per pixel followed by a
// colour table, colour bits and mask bits of all zeros, so the image is all there.
TIconImage IconHeader(int width, int height, int bits) {
    QByteArray b(6 + 16 + 40, '\0');
    b[2] = 1;
    b[4] = 1;
    b[6] = static_cast<char>(width);
    b[7] = static_cast<char>(height);
    b[6 + 12] = 22;  // image offset
    b[22] = 40;
    b[22 + 14] = static_cast<char>(bits);
    if (bits <= 8) {
        const int w = width == 0 ? 256 : width, h = height == 0 ? 256 : height;
        const int colourStride = ((w * bits + 31) / 32) * 4, maskStride = ((w + 31) / 32) * 4;
        b.append(QByteArray(4 * (1 << bits) + (colourStride + maskStride) * h, '\0'));
    }
    return TIconImage(b);
}

const char kTail[] =
    "\r\rfollowing formats are supported\r16x16 pixels  2/16/256 colors\r32x32 pixels  2/16/256 colors";

TEST(IconImageTest, FormatsTheTrayTakesAndTheMessagesForOthers) {
    struct Case {
        int width, height, bits;
        QString error;
    };
    const Case cases[] = {
        {16, 16, 1, ""},
        {16, 16, 4, ""},
        {16, 16, 8, ""},
        {32, 32, 1, ""},
        {32, 32, 8, ""},
        {16, 16, 24, QString("Icon-Format 24 bits per pixel is not supported !") + kTail},
        {32, 32, 32, QString("Icon-Format 32 bits per pixel is not supported !") + kTail},
        {48, 48, 8, QString("Icon-Format 48x48 is not supported !") + kTail},
        {16, 32, 4, QString("Icon-Format 16x32 is not supported !") + kTail},
        {0, 0, 4, QString("Icon-Format 256x256 is not supported !") + kTail},
    };
    for (const Case& c : cases) {
        const TIconImage icon = IconHeader(c.width, c.height, c.bits);
        EXPECT_EQ(icon.FormatError(), c.error) << c.width << "x" << c.height << " " << c.bits;
    }
    EXPECT_TRUE(TIconImage().FormatError().isEmpty());  // empty: not usable, but no error
}

TEST(IconImageTest, TruncatedImageIsRefusedWithoutReadingPastItsEnd) {
    const QByteArray full = IconHeader(16, 16, 4).Bytes();
    ASSERT_EQ(full.size(), 6 + 16 + 40 + 64 + (8 + 4) * 16);
    for (int length : {1, 5, 21, 22, 30, 37, 62, 125, int(full.size()) - 1}) {
        const TIconImage cut(full.left(length));
        EXPECT_FALSE(cut.FormatError().isEmpty()) << length;
        EXPECT_TRUE(cut.ToQIcon().isNull()) << length;
    }
    // Size and bit count readable, pixels missing: told as such.
    EXPECT_EQ(TIconImage(full.left(200)).FormatError(),
              QString("Icon-Image is damaged: 200 of its %1 bytes are there !").arg(full.size()));
    EXPECT_TRUE(TIconImage(full).FormatError().isEmpty());
}

TEST(IconImageTest, FourBitIconKeepsStandardColoursAndTransparency) {
    for (int size : {16, 32}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.fillRect(0, 0, size / 2, size / 2, QColor(255, 0, 0));          // red, top left
        painter.fillRect(size / 2, size / 2, size / 2, size / 2, QColor(0, 0, 250));  // near blue
        painter.end();

        const TIconImage icon = TIconImage::Encode4Bit(image, size);
        EXPECT_EQ(icon.Width(), size);
        EXPECT_EQ(icon.Height(), size);
        EXPECT_EQ(icon.BitCount(), 4);
        EXPECT_TRUE(icon.FormatError().isEmpty());

        const QIcon decoded = icon.ToQIcon();
        ASSERT_FALSE(decoded.isNull());
        const QImage back = decoded.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(back.pixel(1, 1), qRgba(255, 0, 0, 255));
        EXPECT_EQ(back.pixel(size - 2, size - 2), qRgba(0, 0, 255, 255));
        EXPECT_EQ(qAlpha(back.pixel(size - 2, 1)), 0);
    }
}

}  // namespace
