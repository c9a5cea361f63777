#include "framed_grid.h"
#include "pixels.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
// The score grid as the main window sets it up.
struct ScoreGrid {
    QWidget window;
    TFrStringGrid* grid;
    QLineEdit* other;
    ScoreGrid() : grid(new TFrStringGrid(nullptr, &window)), other(new QLineEdit(&window)) {
        window.resize(200, 240);
        other->setGeometry(110, 8, 60, 20);
        grid->BeginLoading();
        grid->SetBounds(8, 8, 92, 212);
        grid->SetColCount(1);
        grid->SetRowCount(300);
        grid->SetFixedCols(0);
        grid->SetDefaultColWidth(70);
        grid->SetFixedColor(clInactiveCaptionText);
        grid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect | goEditing | goTabs);
        grid->SetScrollBars(TScrollStyle::ssVertical);
        grid->SetFrameVisible(true);
        grid->SetFrameColor(0xB99D7F);
        grid->SetFixedLineColor(0xB99D7F);
        grid->SetLineColor(clInactiveCaption);
        grid->Loaded();
        ShowActive(window);
    }
    // A viewport point in grid coordinates.
    QPoint InGrid(int x, int y) const { return grid->viewport()->mapTo(grid, QPoint(x, y)); }
};
}  // namespace

TEST(FramedGrid, CustomFrameLinesFromOutsideIn) {
    ScoreGrid s;
    const QImage img = Snapshot(*s.grid);
    const int w = s.grid->width(), h = s.grid->height();
    EXPECT_EQ(PixelAt(img, 0, 100), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, 40, 0), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, w - 1, 100), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, 40, h - 1), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, 1, 100), ColorToRGB(clInactiveCaptionText));
    EXPECT_EQ(PixelAt(img, 40, 1), ColorToRGB(clInactiveCaptionText));
    EXPECT_EQ(PixelAt(img, w - 2, 100), ColorToRGB(clWindow));
    EXPECT_EQ(PixelAt(img, 40, h - 2), ColorToRGB(clWindow));

    // Without FrameVisible the band is the plain sunken edge.
    s.grid->SetFrameVisible(false);
    EXPECT_NE(PixelAt(Snapshot(*s.grid), 0, 100), 0xB99D7Fu);
}

TEST(FramedGrid, FixedAndBodyLinesTakeTheirOwnColours) {
    ScoreGrid s;
    const QRect header = s.grid->CellRect(0, 0), first = s.grid->CellRect(0, 1);
    QImage img = Snapshot(*s.grid);
    const QPoint fixedLine = s.InGrid(10, header.bottom() + 1);
    const QPoint bodyLine = s.InGrid(10, first.bottom() + 1);
    const QPoint bodyVertical = s.InGrid(first.right() + 1, first.top() + 5);
    EXPECT_EQ(PixelAt(img, fixedLine.x(), fixedLine.y()), 0xB99D7Fu);
    EXPECT_EQ(PixelAt(img, bodyLine.x(), bodyLine.y()), ColorToRGB(clInactiveCaption));
    EXPECT_EQ(PixelAt(img, bodyVertical.x(), bodyVertical.y()), ColorToRGB(clInactiveCaption));
    // Fixed cells are flat, in their own colour; body cells in the grid's.
    const QPoint headerInside = s.InGrid(header.left() + 1, header.top() + 1);
    EXPECT_EQ(PixelAt(img, headerInside.x(), headerInside.y()), ColorToRGB(clInactiveCaptionText));
    const QPoint cell = s.InGrid(first.right() - 3, first.bottom() - 3);
    EXPECT_EQ(PixelAt(img, cell.x(), cell.y()), ColorToRGB(clWindow));

    // Lines in the cells' own colour would vanish: they are drawn darker.
    s.grid->SetLineColor(clWindow);
    img = Snapshot(*s.grid);
    EXPECT_EQ(PixelAt(img, bodyLine.x(), bodyLine.y()), DarkerColor(clWindow, 50));
    EXPECT_NE(DarkerColor(clWindow, 50), ColorToRGB(clWindow));
}

TEST(FramedGrid, ColourFollowsFocusAndEnabledState) {
    ScoreGrid s;
    s.grid->Frame().SetFocusColor(clYellow);
    s.grid->Frame().SetDisabledColor(clSilver);
    s.grid->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(s.grid->Color(), clYellow);
    s.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(s.grid->Color(), clWindow);
    s.grid->SetEnabled(false);
    EXPECT_EQ(s.grid->Color(), clSilver);
    s.grid->SetEnabled(true);
    EXPECT_EQ(s.grid->Color(), clWindow);

    // A new normal colour carries the focus colour along when they were equal.
    s.grid->Frame().SetFocusColor(clWindow);
    s.grid->SetColor(clAqua);
    EXPECT_EQ(s.grid->Frame().NormalColor(), clAqua);
    EXPECT_EQ(s.grid->Frame().FocusColor(), clAqua);
}

TEST(FramedGrid, HotTrackingShowsTheFrameOnAllSides) {
    TFrStringGrid grid(nullptr, nullptr);
    grid.Frame().SetFrameSides(sdLeft);
    grid.Frame().SetFrameHotTrack(true);
    EXPECT_TRUE(grid.FrameVisible());
    EXPECT_EQ(grid.Frame().Settings().frameSides, sdAll);
    EXPECT_EQ(grid.Frame().CurrentStyle(), TFrameStyle::fsFlat);  // neither focused nor hovered
}
