#include "app_fixture.h"

#include "led_display.h"

#include <QImage>

namespace {
// The digit three as the counter draws it, one string per dot row.
const char* const kThree[7] = {
    " XXX ",
    "X   X",
    "    X",
    " XXX ",
    "    X",
    "X   X",
    " XXX ",
};

// The counter is 38 x 24 with a one-pixel frame; its 2-pixel dots stand 2
// pixels apart in cells of 12, and the 14 rows of dots sit 4 pixels below the
// frame. Each dot's own pixel is the one inside its outline.
QPoint DotPixel(int cell, int row, int col) { return {2 + 12 * cell + 2 * col, 6 + 2 * row}; }
}  // namespace

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
    ASSERT_EQ(led->size(), QSize(38, 24));

    const QImage img = led->grab().toImage();
    const QColor on(0x00, 0xFF, 0x00), off(0x00, 0x33, 0x00);
    for (int cell = 0; cell < 3; ++cell)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 6; ++col) {
                const bool lit = cell == 0 && col < 5 && kThree[row][col] == 'X';
                EXPECT_EQ(img.pixelColor(DotPixel(cell, row, col)), lit ? on : off)
                    << "cell " << cell << " row " << row << " col " << col;
            }
    // The black outline between dots, and nothing below the last row.
    EXPECT_EQ(img.pixelColor(3, 6), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(4, 20), QColor(Qt::black));
}
