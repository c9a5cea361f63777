#include "app_fixture.h"

#include "led_display.h"

#include <QImage>

namespace {
// Columns of the digit three in the counter's dot-matrix font, top row = bit 7.
constexpr int kThree[5] = {0x44, 0x92, 0x92, 0x92, 0x6C};
}

class LedCounter : public AppTest {};

TEST_F(LedCounter, ThreeTypedScoresLightTheGlyphThreeInTheFirstCellOnly) {
    FocusScoreGrid();
    Type("85");
    Key(Qt::Key_Tab);
    Type("90");
    Key(Qt::Key_Tab);
    Type("77");
    TFrLEDDisplay* led = form->LED;
    ASSERT_EQ(led->Caption(), QStringLiteral("3"));

    const QImage img = led->grab().toImage();
    const TRect client = led->ClientRect();
    const int pitch = led->DotSize() + led->DotSpacing();
    const int cellWidth = 6 * pitch;
    const int top = (client.Height() - (7 * led->DotSize() + 6 * led->DotSpacing())) / 2;
    const int cells = client.Width() / cellWidth;
    ASSERT_EQ(cells, 3);
    int lit = 0;
    for (int cell = 0; cell < cells; ++cell)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 6; ++col) {
                // Inside the dot's one-pixel outline.
                const int x = client.left + cell * cellWidth + col * pitch + 1;
                const int y = client.top + top + row * pitch + 1;
                const bool wantLit = cell == 0 && col < 5 && (kThree[col] & (0x80 >> row));
                const QColor c = img.pixelColor(x, y);
                EXPECT_EQ(c, ToQColor(wantLit ? led->SegOnColor() : led->SegOffColor()))
                    << "cell " << cell << " row " << row << " col " << col;
                lit += wantLit;
            }
    EXPECT_EQ(lit, 15);
}
