// The reveal effects: the registry, lookups, mask sizes and the timed run.
#include "exceptions.h"
#include "skin_animation.h"
#include "skin_effects.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// A picture with a different opaque colour in every pixel.
QImage Picture(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 5 % 256, y * 7 % 256, (x + y) % 256));
    return img;
}

// A clock the test moves: each frame "takes" what the frame callback adds.
struct TestClock {
    double now = 1000;
    std::function<double()> Fn() {
        return [this] { return now; };
    }
};

}  // namespace

TEST(EffectRegistry, HoldsTheFiftyEightEffectsInOrder) {
    const auto& e = EffectRegistry().Entries();
    ASSERT_EQ(e.size(), 58u);
    EXPECT_EQ(e[0].displayName, "[ FADE ] - SmoothDiagonal");
    EXPECT_EQ(e[20].displayName, "[ FADE ] - Fade");
    EXPECT_EQ(e[32].displayName, "[ FADE ] - Pixel fade");
    EXPECT_EQ(e[53].displayName, "[ FADE ] - Plasma");
    EXPECT_EQ(e[54].displayName, "[ SLIDE ] - Interlace");
    EXPECT_EQ(e[55].displayName, "[ SLIDE ] - Corner");
    EXPECT_EQ(e[56].displayName, "[ MANUAL ] - Slide");
    EXPECT_EQ(e[57].displayName, "[ MANUAL ] - Push");
    for (int k = 0; k < 54; ++k) EXPECT_EQ(e[std::size_t(k)].kind, skeffect::kMask) << k;

    const QStringList names = EffectKindNames();
    ASSERT_EQ(names.size(), 60);
    EXPECT_EQ(names[0], "[ RANDOM ] - Random selection");
    EXPECT_EQ(names[1], "[ BITMAP ] - Bitmap Animation");
    EXPECT_EQ(names[2], "[ FADE ] - SmoothDiagonal");
}

TEST(EffectRegistry, FadeIsFoundByNameOrFullNameInAnyCase) {
    const TskEffectEntry* fade = &EffectRegistry().Entries()[20];
    for (const char* name : {"Fade", "fade", "FADE", "fAdE", "[ fade ] - fade", "[ FADE ] - FADE"})
        EXPECT_EQ(EffectRegistry().Find(QString::fromLatin1(name)), fade) << name;
    // A prefix alone or of another kind finds nothing.
    EXPECT_EQ(EffectRegistry().Find("[ SLIDE ] - Fade"), nullptr);
    EXPECT_EQ(EffectRegistry().Find("[ FADE ] - "), nullptr);
    EXPECT_EQ(EffectRegistry().Find("Fad"), nullptr);
    EXPECT_EQ(EffectRegistry().Find("push")->kind, skeffect::kManual);
}

TEST(EffectRegistry, ANameOrProcedureRegisteredTwiceIsRefused) {
    TskEffectList list;
    RegisterBuiltInEffects(list);
    const TskEffectProc fade = list.Find("Fade")->proc;
    try {
        list.Register("fade", skeffect::kMask, [](TskEffectFrame&) {});
        FAIL() << "a second fade was accepted";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Effect procedute fade already exists in list");
    }
    EXPECT_THROW(list.Register("Fade again", skeffect::kMask, fade), EInvalidOperation);
    // The same name under another kind is another display name.
    list.Register("Fade", skeffect::kSlide, [](TskEffectFrame&) {});
    EXPECT_EQ(list.Count(), 59);
}

TEST(EffectMask, CellCountsFollowResolutionAndTiles) {
    EXPECT_EQ(EffectMaskSize(QSize(100, 50), 2, 1), QSize(51, 26));
    EXPECT_EQ(EffectMaskSize(QSize(100, 50), 1, 1), QSize(101, 51));
    EXPECT_EQ(EffectMaskSize(QSize(100, 50), 2, 2), QSize(26, 13));
    // A resolution or tile count of 0 from a description would divide by zero.
    EXPECT_EQ(EffectMaskSize(QSize(100, 50), 0, 0), QSize(101, 51));

    // The procedure sees exactly that grid.
    TskEffectList list;
    static QSize seen;
    list.Register("Probe", skeffect::kMask, [](TskEffectFrame& f) {
        seen = f.cells;
        std::fill_n(f.mask, f.cells.width() * f.cells.height(), 255);
    });
    TskAnimationRec rec;
    rec.Resolution = 2;
    rec.TileCount = 1;
    QImage work(100, 50, QImage::Format_ARGB32);
    rec.RenderFrame(list.Find("Probe"), Picture(100, 50), work, 50);
    EXPECT_EQ(seen, QSize(51, 26));
}

TEST(EffectAnimation, EveryEffectShowsThePictureWholeAtOneHundredAndNotAtZero) {
    const QImage source = Picture(37, 23);
    for (int rotation = 0; rotation < 4; ++rotation) {
        TskAnimationRec rec;
        rec.Resolution = 3;
        rec.TileCount = 2;
        rec.Rotation = TskRotation(rotation);
        for (const TskEffectEntry& e : EffectRegistry().Entries()) {
            QImage work(source.size(), QImage::Format_ARGB32);
            rec.RenderFrame(&e, source, work, 100);
            EXPECT_EQ(work, source) << qPrintable(e.displayName) << " rotation " << rotation;
            rec.RenderFrame(&e, source, work, 0);
            EXPECT_NE(work, source) << qPrintable(e.displayName) << " shows everything at once";
        }
    }
}

TEST(EffectAnimation, TheBitmapEffectOrdersCellsByTheBitmapsFirstByte) {
    TskAnimationRec rec;
    rec.EffectKind = kBitmapEffectName;
    rec.Bitmap = QImage(2, 1, QImage::Format_ARGB32);
    rec.Bitmap.setPixel(0, 0, qRgb(0, 0, 0));    // blue 0: first
    rec.Bitmap.setPixel(1, 0, qRgb(0, 0, 255));  // blue 255: last
    const QImage source = Picture(40, 10);
    QImage work(source.size(), QImage::Format_ARGB32);
    rec.RenderFrame(nullptr, source, work, 40);
    EXPECT_EQ(qAlpha(work.pixel(2, 5)), 255);
    EXPECT_EQ(qAlpha(work.pixel(37, 5)), 0);
    rec.RenderFrame(nullptr, source, work, 100);
    EXPECT_EQ(work, source);
}

TEST(EffectAnimation, FourHundredMillisecondsEndOnAWholeFrameHoweverSlowTheFrames) {
    const QImage source = Picture(30, 20);
    for (double frameTime : {1.0, 150.0, 399.0, 2500.0}) {
        TestClock clock;
        TskAnimationRec rec;
        rec.EffectKind = "SlideDown";
        rec.Clock = clock.Fn();
        QImage target(source.size(), QImage::Format_RGB32);
        target.fill(Qt::black);
        std::vector<double> progress;
        rec.Run(source, target, QPoint(), [&](double p) {
            progress.push_back(p);
            clock.now += frameTime;
        });
        ASSERT_GE(progress.size(), 2u);
        EXPECT_EQ(progress.back(), 100);
        // Frames while time is left, then the whole picture once.
        const std::size_t timed = progress.size() - 1;
        EXPECT_EQ(timed, std::size_t(std::ceil((400 - 0.01) / frameTime))) << frameTime;
        for (std::size_t k = 0; k < timed; ++k) EXPECT_LT(progress[k], 100) << frameTime;
        EXPECT_EQ(target, source.convertToFormat(QImage::Format_RGB32)) << frameTime;
    }
}

TEST(EffectAnimation, APictureIsDrawnAtItsPlaceAndUnknownEffectsDrawNothing) {
    const QImage source = Picture(10, 8);
    QImage target(30, 30, QImage::Format_RGB32);
    target.fill(Qt::white);
    TskAnimationRec rec;
    rec.EffectKind = "no such effect";
    rec.Run(source, target, QPoint(5, 6));
    EXPECT_EQ(target.pixel(7, 8), qRgb(255, 255, 255));

    rec.EffectKind = "[ RANDOM ] - Random selection";
    rec.Time = 0;  // only the last frame
    rec.Run(source, target, QPoint(5, 6));
    EXPECT_EQ(target.copy(5, 6, 10, 8), source.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(target.pixel(4, 6), qRgb(255, 255, 255));

    // The key colour never shows, whatever the effect.
    QImage keyed = source;
    keyed.setPixel(0, 0, qRgb(0x7F, 0x00, 0x7F));
    rec.EffectKind = "Push";
    rec.Run(keyed, target, QPoint(5, 6));
    EXPECT_EQ(target.pixel(5, 6), source.pixel(0, 0) | 0xFF000000u);
}
