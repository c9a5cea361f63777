#include "led_display.h"
#include "exceptions.h"
#include "pixels.h"

#include <QEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {
constexpr TColor kOn = 0x00FF00, kOff = 0x003300;

// Glyph columns as the dot-matrix font defines them (bit 7 = top row).
const std::map<char, std::array<int, 5>> kFont = {
    {'0', {0x7C, 0x8A, 0x92, 0xA2, 0x7C}}, {'1', {0x00, 0x42, 0xFE, 0x02, 0x00}}, {'2', {0x46, 0x8A, 0x92, 0x92, 0x62}},
    {'3', {0x44, 0x92, 0x92, 0x92, 0x6C}}, {'9', {0x64, 0x92, 0x92, 0x92, 0x7C}},
    {' ', {0, 0, 0, 0, 0}}, {'\x7F', {0x00, 0x7C, 0x7C, 0x7C, 0x00}},
};

// The counter of the score tab: 38 x 24, one-pixel sunken frame, 2-pixel dots.
struct ScoreLed {
    QWidget host;
    TFrLEDDisplay* led;
    ScoreLed() : led(new TFrLEDDisplay(nullptr, &host)) {
        led->SetBounds(0, 0, 38, 24);
        host.resize(60, 40);
        host.show();
    }
};

// The fill pixel of dot (row, col) of a cell: dots are 3 x 3 squares with a
// one-pixel outline, so each has one inner pixel.
TColor Dot(const QImage& img, int cell, int row, int col) {
    const int x = 1 + cell * 12 + col * 2 + 1, y = 1 + 4 + row * 2 + 1;
    return PixelAt(img, x, y);
}

void ExpectCell(const QImage& img, int cell, char ch) {
    const auto& glyph = kFont.at(ch);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 6; ++col) {
            const bool lit = col < 5 && (glyph[col] & (0x80 >> row));
            EXPECT_EQ(Dot(img, cell, row, col), lit ? kOn : kOff)
                << "cell " << cell << " '" << ch << "' row " << row << " col " << col;
        }
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
}  // namespace

TEST(LEDDisplay, ScoreCounterGeometry) {
    ScoreLed s;
    EXPECT_EQ(s.led->ClientRect(), (TRect{1, 1, 37, 23}));
    EXPECT_EQ(s.led->DotSize(), 2);
    EXPECT_EQ(s.led->DotSpacing(), 0);
    s.led->SetBounds(0, 0, 200, 80);  // 78 / 7.6 -> 10: spacing starts at 10
    EXPECT_EQ(s.led->DotSize(), 10);
    EXPECT_EQ(s.led->DotSpacing(), 1);
}

TEST(LEDDisplay, DigitsLightTheirGlyphDotsCellByCell) {
    ScoreLed s;
    s.led->SetCaption(QStringLiteral("0"));
    QImage img = Snapshot(*s.led);
    ExpectCell(img, 0, '0');
    ExpectCell(img, 1, ' ');
    ExpectCell(img, 2, ' ');
    // The sunken frame and the black outline between dots.
    EXPECT_EQ(PixelAt(img, 0, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 37, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(img, 2, 5), clBlack);

    s.led->SetCaption(QStringLiteral("299"));
    img = Snapshot(*s.led);
    ExpectCell(img, 0, '2');
    ExpectCell(img, 1, '9');
    ExpectCell(img, 2, '9');

    // A longer caption is cut at the right edge; nothing wraps.
    s.led->SetCaption(QStringLiteral("2309"));
    img = Snapshot(*s.led);
    ExpectCell(img, 0, '2');
    ExpectCell(img, 2, '0');
}

TEST(LEDDisplay, BytesWithoutGlyphShowTheBlock) {
    ScoreLed s;
    s.led->SetCaption(QStringLiteral("中"));  // two GBK bytes
    EXPECT_EQ(s.led->CaptionBytes().size(), 2);
    QImage img = Snapshot(*s.led);
    ExpectCell(img, 0, '\x7F');
    ExpectCell(img, 1, '\x7F');
    ExpectCell(img, 2, ' ');
    EXPECT_EQ(s.led->Caption(), QStringLiteral("中"));
}

// A window the X server has not exposed yet paints nothing, so the test waits
// for the expose first; and only the setter's own repaints are counted, the
// window system's later exposes are not let in while the counter watches.
TEST(LEDDisplay, SameCaptionRepaintsNothing) {
    ScoreLed s;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.host));
    s.led->SetCaption(QStringLiteral("12"));
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(&s.host, QEvent::UpdateRequest);
    PaintCounter counter;
    s.led->installEventFilter(&counter);
    s.led->SetCaption(QStringLiteral("12"));
    // An update() the setter asked for would be painted here.
    QCoreApplication::sendPostedEvents(&s.host, QEvent::UpdateRequest);
    EXPECT_EQ(counter.paints, 0);
    s.led->SetCaption(QStringLiteral("13"));
    EXPECT_GE(counter.paints, 1);  // painted at once, before any event loop
    s.led->removeEventFilter(&counter);
}

TEST(LEDDisplay, LowClientAreaPaintsOnlyTheFrame) {
    QWidget host;
    auto* led = new TFrLEDDisplay(nullptr, &host);
    led->SetBounds(0, 0, 38, 9);  // 7 pixels inside the frame
    led->SetCaption(QStringLiteral("8"));
    host.show();
    QImage img = Blank(38, 9);
    led->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(PixelAt(img, 0, 4), ColorToRGB(clBtnShadow));
    for (int y = 1; y < 8; ++y)
        for (int x = 1; x < 37; ++x) ASSERT_EQ(PixelAt(img, x, y), 0xFF00FFu) << x << "," << y;
}

TEST(LEDDisplay, MarqueeRestartsAndReportsOnce) {
    ScoreLed s;
    s.led->SetCaption(QStringLiteral("12"));
    int completions = 0;
    s.led->OnScrollComplete = [&](TComponent* sender) {
        EXPECT_EQ(sender, s.led);
        ++completions;
    };
    // The type alone starts the timer, but without Scrolling the text stays put.
    s.led->SetScrollType(TFrScrollType::stNone);
    EXPECT_FALSE(s.led->TimerEnabled());
    s.led->SetScrollType(TFrScrollType::stRightToLeft);
    EXPECT_TRUE(s.led->TimerEnabled());
    ExpectCell(Snapshot(*s.led), 0, '1');
    s.led->SetScrolling(true);
    ASSERT_TRUE(s.led->TimerEnabled());
    // Two cells of 12 pixels plus the width: 62 pixels, 2 per tick.
    ASSERT_EQ(s.led->ScrollExtent(), 62);

    // The text enters at the right edge, aligned down to a whole pitch.
    s.led->ScrollTick();
    QImage img = Snapshot(*s.led);
    EXPECT_EQ(Dot(img, 0, 1, 2), kOff);  // the stem of '1' is not at the left yet
    for (int k = 1; k < 30; ++k) s.led->ScrollTick();
    EXPECT_EQ(completions, 0);
    s.led->ScrollTick();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(s.led->ScrollPosition(), 0);
    for (int k = 0; k < 30; ++k) s.led->ScrollTick();
    EXPECT_EQ(completions, 1);

    // A zero delay keeps the marquee still instead of ticking flat out.
    s.led->SetScrollDelay(0);
    EXPECT_TRUE(s.led->TimerEnabled());
    EXPECT_FALSE(s.led->TimerRunning());
    s.led->SetScrollDelay(100);
    EXPECT_TRUE(s.led->TimerRunning());

    // Off again: back to the unscrolled place at the left edge.
    s.led->SetScrolling(false);
    EXPECT_EQ(s.led->ScrollPosition(), 0);
    s.led->SetCaption(QStringLiteral("3"));
    ExpectCell(Snapshot(*s.led), 0, '3');
}

// Older descriptions still carry these; they load, change nothing and are
// not written back.
TEST(LEDDisplay, OldStreamPropertiesAreReadAndDropped) {
    ScoreLed s;
    s.led->SetCaption(QStringLiteral("12"));
    const QImage before = Snapshot(*s.led);
    const ComponentData saved = s.led->Save();
    ASSERT_EQ(saved.Find(QStringLiteral("SegSpacing")), nullptr);

    s.led->SetProperty(QStringLiteral("SegSpacing"), PropValue::Int(2));
    s.led->SetProperty(QStringLiteral("DisplayCells"), PropValue::Int(1));
    EXPECT_EQ(s.led->DotSize(), 2);
    EXPECT_EQ(s.led->DotSpacing(), 0);
    const QImage after = Snapshot(*s.led);
    EXPECT_EQ(after, before);  // still two digits in three cells, dots touching
    ExpectCell(after, 1, '2');
    const ComponentData again = s.led->Save();
    EXPECT_EQ(again.Find(QStringLiteral("SegSpacing")), nullptr);
    EXPECT_EQ(again.Find(QStringLiteral("DisplayCells")), nullptr);
    EXPECT_EQ(again, saved);

    // Read means checked: a value of the wrong kind is still an error.
    EXPECT_THROW(s.led->SetProperty(QStringLiteral("DisplayCells"), PropValue::Str(QStringLiteral("x"))), EReadError);
    EXPECT_THROW(s.led->SetProperty(QStringLiteral("SegSpacing"), PropValue::Str(QStringLiteral("x"))), EReadError);
    EXPECT_EQ(s.led->GetProperty(QStringLiteral("BorderOuter")).s, QStringLiteral("fsStatus"));
}
