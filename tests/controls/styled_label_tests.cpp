#include "styled_label.h"
#include "pixels.h"

#include <QEnterEvent>
#include <gtest/gtest.h>

namespace {
bool Contains(const QImage& img, TColor c, int fromY = 0, int toY = -1) {
    if (toY < 0) toY = img.height();
    for (int y = fromY; y < toY; ++y)
        for (int x = 0; x < img.width(); ++x)
            if (PixelAt(img, x, y) == c) return true;
    return false;
}

// A big black caption whose 3D passes use colours nothing else uses.
TFrLabel* PassLabel(QWidget* host) {
    auto* l = new TFrLabel(nullptr, host);
    l->SetAutoSize(false);
    l->SetBounds(0, 0, 80, 30);
    TFontSpec f = l->Font();
    f.height = -20;
    f.color = clBlack;
    l->SetFont(f);
    l->SetCaption(QStringLiteral("HM"));
    l->SetColor(clWhite);
    l->SetHighlightColor(clRed);
    l->SetShadowColor(clBlue);
    return l;
}
}  // namespace

TEST(StyledLabel, RaisedTextPasses) {
    QWidget host;
    TFrLabel* l = PassLabel(&host);
    host.show();
    l->SetTextStyle(TTextStyle::tsRaised);
    l->SetLightTextStyle(true);
    ASSERT_EQ(l->Passes().size(), 2u);
    EXPECT_EQ(l->Passes()[0], (TLabelPass{-1, -1, clRed}));
    QImage img = Snapshot(*l);
    EXPECT_TRUE(Contains(img, clRed));
    EXPECT_FALSE(Contains(img, clBlue));
    EXPECT_TRUE(Contains(img, clBlack));

    l->SetLightTextStyle(false);
    EXPECT_EQ(l->Passes().size(), 3u);
    img = Snapshot(*l);
    EXPECT_TRUE(Contains(img, clRed));
    EXPECT_TRUE(Contains(img, clBlue));

    // Disabled: highlight below, shadow on top, whatever the style.
    l->SetEnabled(false);
    EXPECT_EQ(l->Passes(), (std::vector<TLabelPass>{{1, 1, clBtnHighlight}, {0, 0, clBtnShadow}}));
    img = Snapshot(*l);
    EXPECT_FALSE(Contains(img, clBlack));
    EXPECT_TRUE(Contains(img, ColorToRGB(clBtnShadow)));
}

TEST(StyledLabel, AngleStaysWithinOneTurn) {
    TFrLabel l(nullptr, nullptr);
    l.SetAngle(-90);
    EXPECT_EQ(l.Angle(), 270);
    EXPECT_EQ(l.Rotation(), TRotation::roFlat);
    l.SetAngle(450);
    EXPECT_EQ(l.Angle(), 90);
    l.SetAngle(360);
    EXPECT_EQ(l.Angle(), 0);
    l.SetAngle(-450);
    EXPECT_EQ(l.Angle(), 270);
    l.SetRotation(TRotation::roNone);
    EXPECT_EQ(l.Angle(), 0);
}

TEST(StyledLabel, CarriageReturnsBreakLines) {
    QWidget host;
    auto* l = new TFrLabel(nullptr, &host);
    l->SetAutoSize(false);
    l->SetTransparent(true);
    l->SetBounds(0, 0, 200, 26);
    TFontSpec f = l->Font();
    f.height = -11;
    f.color = clBlack;
    l->SetFont(f);
    l->SetCaption(QStringLiteral("Line one") + QChar(13) + QStringLiteral("Line two"));
    host.show();
    QImage img = Blank(200, 26, clWhite);
    l->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    const int lineHeight = 13;  // half the label
    auto dark = [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetRValue(PixelAt(img, x, y)) < 100) return true;
        return false;
    };
    EXPECT_TRUE(dark(0, lineHeight));
    EXPECT_TRUE(dark(lineHeight, 26));
    // Transparent: what lies behind shows between the letters.
    EXPECT_EQ(PixelAt(img, 199, 1), clWhite);
}

TEST(StyledLabel, AutoSizeKeepsTheLeftEdge) {
    QWidget host;
    auto* l = new TFrLabel(nullptr, &host);
    l->SetAlignment(TAlignment::taCenter);
    l->SetBounds(112, 8, 228, 78);
    l->SetCaption(QStringLiteral("short"));
    const int narrow = l->width();
    EXPECT_EQ(l->x(), 112);
    l->SetCaption(QStringLiteral("a much longer line of welcome text"));
    EXPECT_EQ(l->x(), 112);
    EXPECT_GT(l->width(), narrow);

    auto* right = new TFrLabel(nullptr, &host);
    right->SetAlignment(TAlignment::taRightJustify);
    right->SetCaption(QStringLiteral("ab"));
    const int edge = right->x() + right->width();
    right->SetCaption(QStringLiteral("abcdefgh"));
    EXPECT_EQ(right->x() + right->width(), edge);
}

TEST(StyledLabel, FlyByAndBlinkingChangeTheTextColour) {
    QWidget host;
    auto* l = new TFrLabel(nullptr, &host);
    TFontSpec f = l->Font();
    f.color = clGreen;
    l->SetFont(f);
    l->SetFlyByEnabled(true);
    l->SetFlyByColor(clRed);
    int enters = 0;
    l->OnMouseEnter = [&](TComponent*) { ++enters; };
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(l, &enter);
    EXPECT_EQ(l->Font().color, clRed);
    EXPECT_EQ(enters, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(l, &leave);
    EXPECT_EQ(l->Font().color, clGreen);

    TBlinkService* service = TBlinkService::Existing();
    ASSERT_NE(service, nullptr);
    l->SetBlinkColor(clYellow);
    l->SetBlinking(true);
    service->Tick(1'000'000'000);
    EXPECT_EQ(l->TextColor(), clYellow);
    service->Tick(2'000'000'000);
    EXPECT_EQ(l->TextColor(), clGreen);
    l->SetBlinking(false);
    EXPECT_EQ(l->TextColor(), clGreen);
}
