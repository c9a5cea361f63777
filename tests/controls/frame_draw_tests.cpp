#include "frame_draw.h"
#include "pixels.h"

#include <gtest/gtest.h>

namespace {
TColor Rgb(TColor c) { return ColorToRGB(c); }
constexpr TColor kMarker = 0xFF00FF;
}

TEST(FrameDraw, LoweredTakesTwoPixelsAndPaintsBothRings) {
    QImage img = Blank(10, 10);
    TRect inside;
    {
        Canvas c(&img);
        inside = DrawBorder(c, TRect{0, 0, 10, 10}, TFrameStyle::fsLowered, sdAll);
    }
    EXPECT_EQ(inside, (TRect{2, 2, 8, 8}));
    EXPECT_EQ(PixelAt(img, 0, 5), Rgb(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 5, 0), Rgb(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 9, 5), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelAt(img, 1, 5), Rgb(cl3DDkShadow));
    EXPECT_EQ(PixelAt(img, 8, 5), Rgb(cl3DLight));
    EXPECT_EQ(PixelAt(img, 5, 8), Rgb(cl3DLight));
    for (int y = 2; y < 8; ++y)
        for (int x = 2; x < 8; ++x) ASSERT_EQ(PixelAt(img, x, y), kMarker) << x << "," << y;
}

TEST(FrameDraw, SidesWithoutUpperLeftColourStillShrinkEveryListedSide) {
    QImage img = Blank(10, 10);
    TRect inside;
    {
        Canvas c(&img);
        inside = DrawSides(c, TRect{0, 0, 10, 10}, clNone, clRed, sdAll);
    }
    EXPECT_EQ(inside, (TRect{1, 1, 9, 9}));
    EXPECT_EQ(PixelAt(img, 0, 5), kMarker);
    EXPECT_EQ(PixelAt(img, 5, 0), kMarker);
    EXPECT_EQ(PixelAt(img, 9, 5), clRed);
    EXPECT_EQ(PixelAt(img, 5, 9), clRed);

    // Only listed sides are drawn and only they shrink.
    QImage two = Blank(10, 10);
    {
        Canvas c(&two);
        inside = DrawBevel(c, TRect{0, 0, 10, 10}, clBlue, clRed, 2, sdLeft | sdBottom);
    }
    EXPECT_EQ(inside, (TRect{2, 0, 10, 8}));
    EXPECT_EQ(PixelAt(two, 1, 3), clBlue);
    EXPECT_EQ(PixelAt(two, 5, 8), clRed);
    EXPECT_EQ(PixelAt(two, 5, 0), kMarker);
    EXPECT_EQ(PixelAt(two, 9, 3), kMarker);
}

TEST(FrameDraw, GrooveIsDarkThenLightOnEverySideWithClosedCorners) {
    QImage img = Blank(12, 12);
    {
        Canvas c(&img);
        EXPECT_EQ(DrawBorder(c, TRect{0, 0, 12, 12}, TFrameStyle::fsGroove, sdAll), (TRect{2, 2, 10, 10}));
    }
    const TColor dark = Rgb(clBtnShadow), light = Rgb(clBtnHighlight);
    EXPECT_EQ(PixelAt(img, 0, 6), dark);
    EXPECT_EQ(PixelAt(img, 1, 6), light);
    EXPECT_EQ(PixelAt(img, 10, 6), dark);
    EXPECT_EQ(PixelAt(img, 11, 6), light);
    EXPECT_EQ(PixelAt(img, 6, 10), dark);
    EXPECT_EQ(PixelAt(img, 6, 11), light);
    // No corner of the two rings is left unpainted.
    for (QPoint p : {QPoint(0, 0), QPoint(11, 0), QPoint(0, 11), QPoint(11, 11), QPoint(1, 1), QPoint(10, 1), QPoint(1, 10)})
        EXPECT_NE(PixelAt(img, p.x(), p.y()), kMarker) << p.x() << "," << p.y();
}

TEST(FrameDraw, LightnessShiftsOnTheHlsScale) {
    EXPECT_EQ(LighterColor(clWhite, 100), clWhite);
    EXPECT_EQ(DarkerColor(clBlack, 50), clBlack);
    EXPECT_EQ(AdjustColor(0x123456, 0), 0x123456u);

    const TColor nearWhite = LighterColor(clBtnFace, 100);
    EXPECT_GE(GetRValue(nearWhite), 250);
    EXPECT_GE(GetGValue(nearWhite), 250);
    EXPECT_GE(GetBValue(nearWhite), 250);
    const TColor midGrey = DarkerColor(clBtnFace, 50);
    EXPECT_NEAR(ColorToHLS(midGrey).lightness, ColorToHLS(clBtnFace).lightness - 50, 1);
    EXPECT_LT(GetRValue(midGrey), GetRValue(ColorToRGB(clBtnFace)));
    EXPECT_EQ(AdjustColor(clBtnFace, -50), midGrey);

    // Grey keeps no hue; a pure colour keeps its hue while it darkens.
    EXPECT_EQ(ColorToHLS(clGray).saturation, 0);
    EXPECT_EQ(ColorToHLS(clRed).lightness, 120);
    const TColor darkRed = DarkerColor(clRed, 60);
    EXPECT_EQ(GetGValue(darkRed), 0);
    EXPECT_EQ(GetBValue(darkRed), 0);
    EXPECT_NEAR(GetRValue(darkRed), 128, 2);
}

TEST(FrameDraw, ColourBorderDerivesItsShadesFromTheBase) {
    const TColor base = RGBColor(0x40, 0x80, 0xC0);
    QImage img = Blank(8, 8);
    {
        Canvas c(&img);
        EXPECT_EQ(DrawColorBorder(c, TRect{0, 0, 8, 8}, base, sdAll, TFrameStyle::fsStatus), (TRect{1, 1, 7, 7}));
    }
    EXPECT_EQ(PixelAt(img, 0, 4), DarkerColor(base, 50));
    EXPECT_EQ(PixelAt(img, 7, 4), LighterColor(base, 100));
}

TEST(FrameDraw, ClientRectOfTheGraphicControls) {
    TBorderSpec led;
    led.outer = TFrameStyle::fsStatus;
    EXPECT_EQ(BorderClientRect(38, 24, led), (TRect{1, 1, 37, 23}));

    TBorderSpec thick;
    thick.outer = TFrameStyle::fsGroove;
    thick.inner = TFrameStyle::fsLowered;
    thick.borderWidth = 3;
    thick.sides = sdLeft | sdTop;
    EXPECT_EQ(BorderClientRect(40, 30, thick), (TRect{7, 7, 37, 27}));
    // A frame wider than the control leaves nothing, not a turned-over rectangle.
    EXPECT_EQ(BorderClientRect(5, 5, thick), (TRect{}));
}

TEST(FrameDraw, RoundedFrameCutsItsCorners) {
    QImage img = Blank(10, 10);
    TBorderSpec border;
    border.outer = TFrameStyle::fsFlatRounded;
    border.flatColor = clBlue;
    border.flatColorAdjustment = 0;
    TRect inside;
    {
        Canvas c(&img);
        inside = DrawInnerOuterBorders(c, TRect{0, 0, 10, 10}, border, clWhite, clRed);
    }
    EXPECT_EQ(inside, (TRect{2, 2, 8, 8}));
    EXPECT_EQ(PixelAt(img, 0, 0), clRed);  // the parent's colour shows at the cut corner
    EXPECT_EQ(PixelAt(img, 5, 0), clBlue);
    EXPECT_EQ(PixelAt(img, 5, 1), clWhite);
}

TEST(FrameDraw, NonClientFrameOverTheBorderBand) {
    QImage img = Blank(20, 20);
    TNonClientFrame f;
    f.frameColor = 0xB99D7F;
    f.controlColor = clWindow;
    f.bandUpperLeft = clInactiveCaptionText;
    f.coloring = TFrameColoring::System;
    {
        Canvas c(&img);
        DrawNonClientFrame(c, 20, 20, f);
    }
    EXPECT_EQ(PixelAt(img, 0, 10), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, 19, 10), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, 1, 10), Rgb(clInactiveCaptionText));
    EXPECT_EQ(PixelAt(img, 10, 1), Rgb(clInactiveCaptionText));
    EXPECT_EQ(PixelAt(img, 18, 10), Rgb(clWindow));
    EXPECT_EQ(PixelAt(img, 10, 18), Rgb(clWindow));
    EXPECT_EQ(PixelAt(img, 2, 10), 0xFF00FFu);

    // A coloured control takes its 3D styles from its own colour.
    QImage coloured = Blank(20, 20);
    f.style = TFrameStyle::fsStatus;
    f.controlColor = RGBColor(200, 100, 50);
    f.coloring = TFrameColoring::FromControlColor;
    {
        Canvas c(&coloured);
        DrawNonClientFrame(c, 20, 20, f);
    }
    EXPECT_EQ(PixelAt(coloured, 0, 10), DarkerColor(f.controlColor, 50));
}
