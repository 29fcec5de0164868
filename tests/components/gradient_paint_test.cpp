// The gradient painter, the ring painter, the bitmap copies and the canvas conventions they rely on.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "components/BitmapUtils.h"
#include "components/Canvas.h"
#include "components/ColorUtils.h"
#include "components/GradientPaint.h"
#include "components/ShapeRings.h"
#include "tests/components/render_helpers.h"
#include "tests/components/widget_test_app.h"

using namespace components;
using fw_test::kUnpainted;
using fw_test::PixelAt;

namespace {

QImage Paint(int w, int h, const std::function<void(TCanvas&)>& draw) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    TCanvas canvas(painter);
    draw(canvas);
    return image;
}

// Colour of ramp position c from black to white: each channel is c.
TColor Grey(int c) { return RGBToColor(c, c, c); }

TEST(CanvasTest, LinesLeaveOutTheirEndPoint) {
    const QImage image = Paint(10, 10, [](TCanvas& c) {
        c.SetPen(0x0000FF, 1);
        c.MoveTo(1, 1);
        c.LineTo(6, 1);
        c.LineTo(6, 6);
    });
    EXPECT_EQ(PixelAt(image, 1, 1), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 5, 1), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 6, 1), 0x0000FFu);  // drawn as the second line's start
    EXPECT_EQ(PixelAt(image, 6, 5), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 6, 6), kUnpainted);
    EXPECT_EQ(PixelAt(image, 7, 1), kUnpainted);
}

TEST(CanvasTest, RectangleOutlineCoversTheOutermostPixels) {
    const QImage image = Paint(12, 12, [](TCanvas& c) {
        c.SetPen(0x0000FF, 1);
        c.SetBrush(0x00FF00);
        c.Rectangle({2, 2, 10, 10});
    });
    EXPECT_EQ(PixelAt(image, 2, 2), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 9, 9), 0x0000FFu);
    EXPECT_EQ(PixelAt(image, 5, 5), 0x00FF00u);
    EXPECT_EQ(PixelAt(image, 10, 10), kUnpainted);
    EXPECT_EQ(PixelAt(image, 1, 5), kUnpainted);
}

TEST(GradientPaintTest, HorizontalBandsCoverTwoColumns) {
    // 255 wide: column c ends in the colour of step c + 1, the last column in step 255.
    const QImage image = Paint(255, 4, [](TCanvas& c) { PaintGradient(c, {0, 0, 255, 4}, clBlack, clWhite, gsHorizontal); });
    for (int col : {0, 1, 100, 253}) EXPECT_EQ(PixelAt(image, col, 2), Grey(col + 1)) << col;
    EXPECT_EQ(PixelAt(image, 254, 2), Grey(255));
}

TEST(GradientPaintTest, WideHorizontalBandsReachBeyondTheRectangle) {
    // 510 wide inside a wider image: the first band starts two pixels left, the last ends two right.
    const QImage image = Paint(520, 4, [](TCanvas& c) { PaintGradient(c, {5, 0, 515, 4}, clBlack, clWhite, gsHorizontal); });
    EXPECT_EQ(PixelAt(image, 2, 1), kUnpainted);
    EXPECT_EQ(PixelAt(image, 3, 1), Grey(0));
    EXPECT_EQ(PixelAt(image, 516, 1), Grey(255));
    EXPECT_EQ(PixelAt(image, 517, 1), kUnpainted);
}

TEST(GradientPaintTest, StylesPutTheirEndsWhereNamed) {
    struct Case {
        const char* name;
        TGradStyle style;
        QPoint atColor1, atColor2;
    } cases[] = {
        {"vertical", gsVertical, {50, 0}, {50, 59}},
        {"horizontal", gsHorizontal, {0, 30}, {99, 30}},
        {"corner top left", gsCornerTopLeft, {99, 59}, {0, 0}},
        {"corner top right", gsCornerTopRight, {0, 59}, {99, 0}},
        {"corner bottom right", gsCornerBottomRight, {0, 0}, {99, 59}},
        {"corner bottom left", gsCornerBottomLeft, {99, 0}, {0, 59}},
        {"diagonal falling", gsDiagonalFalling, {0, 0}, {99, 59}},
        {"diagonal rising", gsDiagonalRising, {0, 59}, {99, 0}},
        {"symmetric", gsSymmetric, {0, 30}, {50, 30}},
        {"pyramid", gsPyramid, {1, 0}, {99, 58}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = Paint(100, 60, [&](TCanvas& cv) { PaintGradient(cv, {0, 0, 100, 60}, clBlack, clWhite, c.style); });
        const int dark = GetRValue(PixelAt(image, c.atColor1.x(), c.atColor1.y()));
        const int light = GetRValue(PixelAt(image, c.atColor2.x(), c.atColor2.y()));
        EXPECT_LT(dark, 40);
        EXPECT_GT(light, 200);
    }
}

// Every pixel of the corner, diagonal and pyramid styles on a 4 x 2 rectangle at (1, 1) inside a 6 x 4
// image, black to white so that step t paints grey t; -1 is left unpainted. Worked out from the
// algorithms: each pixel keeps the last step that covers it; polygons take the pixels whose centres lie
// inside, a centre on a slanted edge counting where that edge closes the row on the right (the
// platform's fill rule); lines leave out their end point; 255 x (4 / 255) and 127 x (4 / 127) come to
// 4 exactly in single precision.
TEST(GradientPaintTest, SmallCornerDiagonalAndPyramidGradientsPixelByPixel) {
    constexpr int U = -1;
    struct Case {
        const char* name;
        TGradStyle style;
        int grey[4][6];
    } cases[] = {
        // The last step of the top-right and bottom-left corners has no area: their corner ends at 254.
        {"corner top left", gsCornerTopLeft, {{U, U, U, U, U, U}, {U, 255, 127, 63, 0, U}, {U, 0, 0, 0, 0, U}, {U, U, U, U, U, U}}},
        {"corner top right", gsCornerTopRight, {{U, U, U, U, U, U}, {U, 63, 127, 191, 254, U}, {U, 0, 0, 0, 0, U}, {U, U, U, U, U, U}}},
        {"corner bottom right", gsCornerBottomRight, {{U, U, U, U, U, U}, {U, 63, 127, 127, 127, U}, {U, 63, 127, 191, 254, U}, {U, U, U, U, U, U}}},
        {"corner bottom left", gsCornerBottomLeft, {{U, U, U, U, U, U}, {U, 127, 127, 63, 0, U}, {U, 254, 127, 63, 0, U}, {U, U, U, U, U, U}}},
        {"diagonal falling", gsDiagonalFalling, {{U, U, U, U, U, U}, {U, 63, 95, 126, 191, U}, {U, 126, 159, 191, 223, U}, {U, U, U, U, U, U}}},
        {"diagonal rising", gsDiagonalRising, {{U, U, U, U, U, U}, {U, 127, 159, 191, 223, U}, {U, 63, 95, 127, 191, U}, {U, U, U, U, U, U}}},
        // The last line from the bottom edge starts at the centre and ends one row below the rectangle.
        {"pyramid", gsPyramid, {{U, U, U, U, U, U}, {U, 0, 42, 85, 170, U}, {U, 42, 42, 170, 212, U}, {U, U, U, 255, U, U}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = Paint(6, 4, [&](TCanvas& cv) { PaintGradient(cv, {1, 1, 5, 3}, clBlack, clWhite, c.style); });
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(PixelAt(image, x, y), c.grey[y][x] < 0 ? kUnpainted : Grey(c.grey[y][x])) << x << "," << y;
    }
}

TEST(GradientPaintTest, NothingToPaint) {
    const QImage threeD = Paint(20, 20, [](TCanvas& c) { GradientFill(c, {0, 0, 20, 20}, clBlack, clWhite, gs3D, false); });
    const QImage flatSym = Paint(20, 20, [](TCanvas& c) { PaintGradient(c, {5, 0, 5, 20}, clBlack, clWhite, gsSymmetric); });
    const QImage flatPyramid = Paint(20, 20, [](TCanvas& c) { PaintGradient(c, {5, 5, 5, 5}, clBlack, clWhite, gsPyramid); });
    for (const QImage* image : {&threeD, &flatSym, &flatPyramid})
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) ASSERT_EQ(PixelAt(*image, x, y), kUnpainted) << x << "," << y;
}

TEST(GradientPaintTest, SymmetricHorizontalMirrorsAboutTheMiddle) {
    // (0, 0, 101, 20): left half (0, 0, 51, 20) dark to light, right half (50, 0, 101, 20) light to dark.
    const QImage image = Paint(101, 20, [](TCanvas& c) { GradientFill(c, {0, 0, 101, 20}, clBlack, clWhite, gsHorizontal, true); });
    EXPECT_LT(GetRValue(PixelAt(image, 0, 10)), 10);
    EXPECT_LT(GetRValue(PixelAt(image, 100, 10)), 10);
    EXPECT_GT(GetRValue(PixelAt(image, 50, 10)), 245);
    // Mirror images up to the rounding of the bands.
    EXPECT_NEAR(GetRValue(PixelAt(image, 30, 10)), GetRValue(PixelAt(image, 70, 10)), 6);
}

TEST(GradientPaintTest, SymmetricVerticalMirrorsTopAndBottom) {
    const QImage image = Paint(10, 100, [](TCanvas& c) { GradientFill(c, {0, 0, 10, 100}, 0x0000FF, 0xFF0000, gsVertical, true); });
    // The outer rows end in the colour of the first few steps (bands overlap by a step).
    for (int row : {0, 99}) {
        EXPECT_GT(GetRValue(PixelAt(image, 5, row)), 240) << row;
        EXPECT_LT(GetBValue(PixelAt(image, 5, row)), 15) << row;
    }
    EXPECT_GT(GetBValue(PixelAt(image, 5, 50)), 240);
    EXPECT_LT(GetRValue(PixelAt(image, 5, 50)), 15);
}

TEST(ShapeRingsTest, RectRingsRampFromOutsideIn) {
    const QImage image = Paint(20, 20, [](TCanvas& c) {
        DrawShapeRings(c, {0, 0, 20, 20}, 0x000000, 0x0000C8, 4, 0, psRect, 0, true);
    });
    // Rings on 0..19 shrinking: steps 0, 1, 2 of 4 (50 each), the last ring the second colour.
    EXPECT_EQ(PixelAt(image, 0, 10), 0x000000u);
    EXPECT_EQ(PixelAt(image, 19, 10), 0x000000u);
    EXPECT_EQ(PixelAt(image, 1, 10), 0x000032u);
    EXPECT_EQ(PixelAt(image, 2, 10), 0x000064u);
    EXPECT_EQ(PixelAt(image, 3, 10), 0x0000C8u);
    EXPECT_EQ(PixelAt(image, 4, 10), kUnpainted);
}

TEST(ShapeRingsTest, OneRingIsTheSecondColourAndStartStepSkipsShades) {
    const QImage one = Paint(10, 10, [](TCanvas& c) { DrawShapeRings(c, {0, 0, 10, 10}, 0x000000, 0x00FF00, 1, 0, psRect, 0, false); });
    EXPECT_EQ(PixelAt(one, 0, 5), 0x00FF00u);
    const QImage skipped = Paint(20, 20, [](TCanvas& c) {
        DrawShapeRings(c, {0, 0, 19, 19}, 0x000000, 0x0000C8, 4, 0, psRect, 2, false);
    });
    EXPECT_EQ(PixelAt(skipped, 0, 10), 0x000064u);  // starts at step 2
    EXPECT_EQ(PixelAt(skipped, 1, 10), 0x000096u);
    EXPECT_EQ(PixelAt(skipped, 2, 10), 0x0000C8u);  // past the count: the second colour
}

TEST(ShapeRingsTest, EllipseRingsShadeTowardTheCentre) {
    const QImage image = Paint(30, 30, [](TCanvas& c) {
        c.SetBrush(0x00FF00);
        DrawShapeRings(c, {0, 0, 29, 29}, 0x000000, 0x00FF00, 15, 0, psEllipse, 0, false);
    });
    EXPECT_EQ(PixelAt(image, 0, 0), kUnpainted);  // corner outside the ellipse
    EXPECT_EQ(PixelAt(image, 14, 14), 0x00FF00u);
    EXPECT_LT(GetGValue(PixelAt(image, 1, 14)), GetGValue(PixelAt(image, 8, 14)));
}

TEST(BitmapUtilsTest, GrayScaleAndLuminanceShift) {
    QImage source(4, 2, QImage::Format_RGB32);
    source.fill(QColor(30, 60, 90));
    source.setPixelColor(0, 0, QColor(255, 0, 0));
    QImage grey;
    ASSERT_TRUE(GrayScaleBitmap(source, grey));
    EXPECT_EQ(grey.format(), QImage::Format_RGB888);
    EXPECT_EQ(grey.pixelColor(1, 1), QColor(60, 60, 60));
    EXPECT_EQ(grey.pixelColor(0, 0), QColor(85, 85, 85));
    QImage untouched(1, 1, QImage::Format_RGB32);
    untouched.fill(Qt::blue);
    EXPECT_FALSE(GrayScaleBitmap(QImage(), untouched));
    EXPECT_EQ(untouched.pixelColor(0, 0), QColor(Qt::blue));

    QImage shifted(1, 1, QImage::Format_RGB32);  // smaller than the source: takes its size
    ShiftBitmapLuminance(source, 300, shifted);
    ASSERT_EQ(shifted.size(), source.size());
    EXPECT_EQ(shifted.pixelColor(2, 1), QColor(255, 255, 255));
    ShiftBitmapLuminance(source, 0, shifted);
    const TColor back = FromQColor(shifted.pixelColor(0, 0));
    EXPECT_EQ(back, HLSToRGB(RGBToHLS(0x0000FF)));
    QImage none;
    ShiftBitmapLuminance(source, 10, none);
    EXPECT_TRUE(none.isNull());
}

}  // namespace
