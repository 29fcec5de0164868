// The bevel label: default look, frames and bevels, ring shading, caption layouts and repainting.
#include <gtest/gtest.h>

#include <QWidget>
#include <set>
#include <vector>

#include "components/BevelLabel.h"
#include "components/ColorUtils.h"
#include "tests/support/event_pump.h"
#include "tests/components/paint_counter.h"
#include "tests/components/render_helpers.h"
#include "tests/components/widget_test_app.h"

using namespace components;
using fw_test::kUnpainted;
using fw_test::PixelAt;

namespace {

using namespace std::chrono_literals;

class BevelLabelTest : public ::testing::Test {
protected:
    BevelLabelTest() : label(&form) {
        form.resize(120, 60);
        label.move(10, 10);
        label.SetColor(0x00C0FF);
        form.show();
    }
    QImage LabelImage() { return fw_test::Render(form).copy(label.geometry()); }
    int CountColour(const QImage& image, TColor colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += PixelAt(image, x, y) == colour;
        return n;
    }

    QWidget form;
    TBevelLabel label;
};

TEST_F(BevelLabelTest, DefaultIsAFlatRectangleWithACentredCaption) {
    EXPECT_EQ(label.size(), QSize(70, 15));
    QImage image = LabelImage();
    EXPECT_EQ(PixelAt(image, 0, 0), 0x00C0FFu);
    EXPECT_EQ(PixelAt(image, 69, 14), 0x00C0FFu);
    EXPECT_EQ(CountColour(image, clBlack), 0);

    label.SetCaption("MMMM");
    image = LabelImage();
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) != 0x00C0FFu) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0);
    EXPECT_LE(std::abs((left + right) / 2 - 35), 3);  // centred
}

TEST_F(BevelLabelTest, FrameWidthIsAtLeastOne) {
    for (int value : {0, -3}) {
        label.Label3DFrame().SetfrWidth(value);
        EXPECT_EQ(label.Label3DFrame().frWidth(), 1) << value;
    }
}

TEST_F(BevelLabelTest, BorderAndBevels) {
    label.LabelBorder().SetfpWidth(1);
    label.LabelBorder().SetfpColor(0x112233);
    label.LabelBevelOuter().SetbpWidth(1);  // lowered: upper-left white
    label.LabelBevelInner().SetbpWidth(1);  // raised: upper-left grey
    const QImage image = LabelImage();
    EXPECT_EQ(PixelAt(image, 0, 7), 0x112233u);
    EXPECT_EQ(PixelAt(image, 69, 7), 0x112233u);
    EXPECT_EQ(PixelAt(image, 1, 7), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(image, 68, 7), 0x808080u);
    EXPECT_EQ(PixelAt(image, 2, 7), 0x808080u);
    EXPECT_EQ(PixelAt(image, 67, 7), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(image, 3, 7), 0x00C0FFu);
}

TEST_F(BevelLabelTest, GradedFrameRampsInward) {
    label.Label3DFrame().SetfrKind(fkGrad);
    label.Label3DFrame().SetfrWidth(3);
    label.Label3DFrame().SetfrColor1(0x000000);
    label.Label3DFrame().SetfrColor2(0x0000F0);
    const QImage image = LabelImage();
    EXPECT_EQ(PixelAt(image, 0, 7), 0x000000u);
    EXPECT_EQ(PixelAt(image, 1, 7), 0x000050u);
    EXPECT_EQ(PixelAt(image, 2, 7), 0x0000F0u);
    EXPECT_EQ(PixelAt(image, 3, 7), 0x00C0FFu);
}

// A label is composed where it sits in its parent: the symmetric split goes by the parity of the
// parent's rows and columns, so a label at an odd row or column shows the parent's gradient there.
TEST_F(BevelLabelTest, SymmetricFillSplitsByTheParentsRowsAndColumns) {
    const struct {
        QPoint at;
        TGradStyle style;
    } cases[] = {
        {{10, 10}, gsVertical},
        {{10, 17}, gsVertical},
        {{11, 10}, gsHorizontal},
        {{11, 17}, gsDiagonalFalling},
    };
    label.LabelFill().SetfpKind(fkSym);
    label.LabelFill().SetfpColor1(clBlack);
    label.LabelFill().SetfpColor2(clWhite);
    for (const auto& c : cases) {
        label.move(c.at);
        label.LabelFill().SetfpStyle(c.style);
        EXPECT_TRUE(LabelImage() == fw_test::SymmetricGradientAt(label.geometry(), clBlack, clWhite, c.style))
            << "at " << c.at.x() << "," << c.at.y() << ", style " << int(c.style);
    }
}

TEST_F(BevelLabelTest, EllipseDrawsNoBevelAndNothingOutsideItsShape) {
    label.LabelShape().SetshShape(psEllipse);
    label.LabelBevelOuter().SetbpWidth(2);
    label.LabelBevelInner().SetbpWidth(2);
    const QImage image = LabelImage();
    EXPECT_EQ(PixelAt(image, 0, 0), kUnpainted);
    EXPECT_EQ(PixelAt(image, 69, 14), kUnpainted);
    EXPECT_EQ(CountColour(image, 0xFFFFFF), 0);
    EXPECT_EQ(CountColour(image, 0x808080), 0);
    EXPECT_EQ(PixelAt(image, 35, 7), 0x00C0FFu);
}

TEST_F(BevelLabelTest, RingShadingHasOneShadePerRing) {
    label.LabelFill().SetfpKind(fkGrad);
    label.LabelFill().SetfpStyle(gs3D);
    label.LabelFill().SetfpColor1(0x000000);
    label.LabelFill().SetfpColor2(0x0000FF);
    const QImage image = LabelImage();
    // 15 high: 8 rings from the top row down to the middle.
    std::set<TColor> shades;
    for (int y = 0; y <= 7; ++y) shades.insert(PixelAt(image, 35, y));
    EXPECT_EQ(shades.size(), 8u);
    EXPECT_EQ(PixelAt(image, 35, 0), 0x000000u);
    EXPECT_EQ(PixelAt(image, 35, 7), 0x0000FFu);
}

// Ring shading on a 10 x 6 label, black outside to 0x0000F0 inside: 3 rings on (0,0)-(9,5), each a
// step of 0x50 (ring 0 black, ring 1 0x000050, ring 2 the inner colour). The bevel or frame painted
// after the rings keeps off their last column and row, which stay ring 0's black.
TEST_F(BevelLabelTest, RingShadingLeavesTheLastColumnAndRowToTheOuterRing) {
    constexpr TColor kRing0 = 0x000000, kRing1 = 0x000050, kWhite = 0xFFFFFF, kGrey = 0x808080, kBlue = 0xFF0000;
    struct Pixel {
        int x, y;
        TColor expected;
    };
    const struct {
        const char* what;
        bool bevel;  // else a graded frame of width 1 (one ring: frColor2, blue)
        std::vector<Pixel> pixels;
    } cases[] = {
        {"lowered outer bevel",
         true,
         {{0, 2, kWhite}, {4, 0, kWhite}, {8, 2, kGrey}, {4, 4, kGrey}, {9, 2, kRing0}, {4, 5, kRing0},
          {8, 0, kRing0}, {7, 0, kWhite}, {1, 2, kRing1}}},
        {"graded frame",
         false,
         {{0, 2, kBlue}, {4, 0, kBlue}, {8, 2, kBlue}, {4, 4, kBlue}, {8, 4, kBlue}, {9, 2, kRing0},
          {4, 5, kRing0}, {9, 5, kRing0}, {1, 2, kRing1}}},
    };
    for (const auto& c : cases) {
        TBevelLabel small(&form);
        small.setGeometry(10, 30, 10, 6);
        small.LabelFill().SetfpKind(fkGrad);
        small.LabelFill().SetfpStyle(gs3D);
        small.LabelFill().SetfpColor1(kRing0);
        small.LabelFill().SetfpColor2(0x0000F0);
        if (c.bevel) {
            small.LabelBevelOuter().SetbpWidth(1);
        } else {
            small.Label3DFrame().SetfrKind(fkGrad);
            small.Label3DFrame().SetfrWidth(1);
            small.Label3DFrame().SetfrColor1(0x00FF00);
            small.Label3DFrame().SetfrColor2(kBlue);
        }
        small.show();
        const QImage image = fw_test::Render(form).copy(small.geometry());
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(PixelAt(image, p.x, p.y), p.expected) << c.what << " at " << p.x << "," << p.y;
    }
}

// The caption stands in the same lowered rectangle: one pixel higher than over a plain gradient, and
// right-aligned one pixel further left.
TEST_F(BevelLabelTest, RingShadedCaptionSitsOnePixelUpAndLeft) {
    const auto inkBox = [this](TGradStyle style) {
        TBevelLabel probe(&form);
        probe.setGeometry(10, 30, 70, 15);
        probe.LabelFill().SetfpKind(fkGrad);
        probe.LabelFill().SetfpStyle(style);
        probe.LabelFill().SetfpColor1(clBlack);  // one colour either way: only the caption differs
        probe.LabelFill().SetfpColor2(clBlack);
        probe.CaptionProp().SetcpAlignment(caRight);
        QFont font = probe.font();
        font.setPixelSize(10);
        probe.setFont(font);
        probe.SetFontColor(0xFFFFFF);
        probe.SetCaption("MW");
        probe.show();
        const QImage image = fw_test::Render(form).copy(probe.geometry());
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).lightness() > 128) ink |= QRect(x, y, 1, 1);
        return ink;
    };
    const QRect plain = inkBox(gsVertical);
    const QRect shaded = inkBox(gs3D);
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_EQ(shaded.size(), plain.size());
    EXPECT_EQ(shaded.topLeft(), plain.topLeft() - QPoint(1, 1));
}

TEST_F(BevelLabelTest, NewCaptionPaintsAtOnceTheSameOneNot) {
    fw_test::PumpFor(20ms);
    fw_test::PaintCounter paints(&label);
    label.SetCaption("12");
    EXPECT_EQ(paints.count, 1);
    label.SetCaption("12");
    EXPECT_EQ(paints.count, 1);
    label.LabelFill().SetfpColor1(0x00FF00);  // settings: at the next paint cycle
    EXPECT_EQ(paints.count, 1);
    EXPECT_TRUE(fw_test::PumpUntil([&] { return paints.count == 2; }, 2000ms));
}

TEST_F(BevelLabelTest, DisabledCaptionWhiteCopyOnlyOnOneLine) {
    label.resize(70, 60);
    label.SetCaption("ABC");
    label.CaptionProp().cpShadow().SetspShadow(true);
    label.CaptionProp().cpShadow().SetspColor(0x00FF00);
    EXPECT_GT(CountColour(LabelImage(), 0x00FF00), 0);  // enabled: the shadow shows
    label.setEnabled(false);
    QImage image = LabelImage();
    EXPECT_EQ(CountColour(image, 0x00FF00), 0);
    EXPECT_GT(CountColour(image, 0xFFFFFF), 0);
    EXPECT_GT(CountColour(image, kDisabledTextColor), 0);
    label.CaptionProp().SetcpStyle(cdHorizontal);
    image = LabelImage();
    EXPECT_EQ(CountColour(image, 0x00FF00), 0);
    EXPECT_EQ(CountColour(image, 0xFFFFFF), 0);
    EXPECT_GT(CountColour(image, kDisabledTextColor), 0);
}

TEST_F(BevelLabelTest, StackedCaptionRunsDownward) {
    label.resize(20, 60);
    label.SetFontColor(0x000000);
    label.CaptionProp().SetcpStyle(cdHorizontal);
    label.SetCaption("III");
    const QImage image = LabelImage();
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) != 0x00C0FFu) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, 0);
    EXPECT_GT(bottom - top, 2 * QFontMetrics(label.font()).ascent());  // three lines tall
}

TEST(BevelLabelParentTest, HiddenParentPaintsNothing) {
    QWidget form;
    form.resize(80, 20);
    TBevelLabel label(&form);
    label.SetColor(0x00FF00);
    const QImage image = fw_test::Render(label);
    EXPECT_EQ(PixelAt(image, 5, 5), kUnpainted);
}

}  // namespace
