// Skins from outside are untrusted: what their bounds and bitmaps ask for is
// never rendered or allocated whole past one pixel budget.
#include "exceptions.h"
#include "skin_bytes.h"
#include "skin_object.h"
#include "skin_source.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A masked bitmap object over a bitmap whose listed pixels are the key colour.
struct Shaped {
    TskBitmapList list;
    TSkBitmapObject o;
    Shaped(int w, int h, std::initializer_list<QPoint> keyed, TskTileStyle tile = TskTileStyle::tsStretch) {
        auto b = std::make_unique<TskBitmap>("b", w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b->SetPixel(x, y, 0xFF204060);
        for (QPoint p : keyed) b->SetPixel(p.x(), p.y(), kSkinTransparent);
        b->ApplyStreamRules();
        list.Add(std::move(b));
        o.SetBitmaps(&list);
        o.Bitmap() = TskBitmapLink{"b", 0, 0, w, h};
        o.SetTileStyle(tile);
        o.AfterLoad();
    }
};

// An RLE8 bitmap file of the given size that holds no pixel data at all.
QByteArray EmptyRleBitmapFile(int w, int h) {
    QByteArray f(14 + 40 + 8 + 2, '\0');
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, f.data() + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, f.data() + at); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, quint32(f.size()));
    put32(10, 14 + 40 + 8);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, 8);
    put32(30, 1);  // BI_RLE8
    put32(34, 2);
    put32(46, 2);
    f[14 + 40 + 4] = char(0xFF);  // the second palette entry
    f[f.size() - 1] = 1;          // 00 01: end of the bitmap
    return f;
}

QByteArray RecordsOfBitmapFiles(int count, const QByteArray& file) {
    SkinByteWriter w;
    for (int k = 0; k < 5; ++k) w.String("h");
    w.Int32(count);
    for (int k = 0; k < count; ++k) {
        w.String(QStringLiteral("b%1").arg(k));
        w.StringBytes(file);
    }
    w.Int32(0);
    return w.out;
}

}  // namespace

TEST(SkinPixelBudget, TakesWhatIsLeftAndRefusesMore) {
    SkinPixelBudget budget(10);
    EXPECT_TRUE(budget.TryTake(4));
    EXPECT_FALSE(budget.TryTake(7));
    EXPECT_EQ(budget.Left(), 6);
    EXPECT_FALSE(budget.TryTake(-1));
    EXPECT_NO_THROW(budget.Take(6, "b"));
    EXPECT_THROW(budget.Take(1, "b"), EStreamError);
}

TEST(SkinPixelBudget, BitmapFilesThatClaimMuchFromFewBytesAreCountedBeforeTheyAreDecoded) {
    // 2048 x 2048 four times is the budget exactly; a fifth is refused, and
    // so is a single file past it.
    const QByteArray file = EmptyRleBitmapFile(2048, 2048);
    TSkSkinSource s;
    const QByteArray four = RecordsOfBitmapFiles(4, file);
    TSkSkinFilterMaxCompression(&s).ReadSkinBytes(four.constData(), four.size());
    ASSERT_EQ(s.Bitmaps().Count(), 4);
    EXPECT_EQ(s.Bitmaps().At(3)->Width(), 2048);

    const QByteArray bomb = RecordsOfBitmapFiles(300, file);  // 20 KB asking for 1.2 G pixels
    try {
        TSkSkinFilterMaxCompression(&s).ReadSkinBytes(bomb.constData(), bomb.size());
        FAIL();
    } catch (const EStreamError& e) {
        EXPECT_TRUE(e.Message().contains("b4")) << e.Message().toStdString();
    }
    EXPECT_EQ(s.Bitmaps().Count(), 4);  // the skin that was there stays
    const QByteArray huge = RecordsOfBitmapFiles(1, EmptyRleBitmapFile(16384, 16385));
    EXPECT_THROW(TSkSkinFilterMaxCompression(&s).ReadSkinBytes(huge.constData(), huge.size()), EStreamError);
}

TEST(SkinRegionLimits, GiganticBoundsGiveTheirRectangleWithoutRendering) {
    for (int side : {1 << 24, 20000}) {
        Shaped s(2, 2, {{1, 1}});  // keyed in the bottom-right quarter
        s.o.SetBounds(0, 0, side, side);
        EXPECT_EQ(s.o.GetRegion(), QRegion(0, 0, side, side)) << side;
        EXPECT_EQ(s.o.Mask(), QRegion(0, 0, side, side)) << side;
        // Drawing touches only the device's pixels, on an image or elsewhere.
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(0);
        {
            QPainter p(&img);
            s.o.Draw(p);
        }
        EXPECT_EQ(img.pixel(0, 0), 0xFF204060u);
        QPixmap pixmap(8, 8);
        pixmap.fill(Qt::black);
        {
            QPainter p(&pixmap);
            s.o.Draw(p);
        }
        EXPECT_EQ(pixmap.toImage().pixel(7, 7), 0xFF204060u);
    }
}

TEST(SkinRegionLimits, LargeShapesAreRenderedInStripsWithTheSameResult) {
    // 3,000 rows take several strips; the key pixel stretches over the
    // top-left quarter (a little more: the steps are 16.16 fixed point).
    Shaped s(2, 2, {{0, 0}});
    s.o.SetBounds(0, 0, 3000, 3000);
    const QRegion r = s.o.Mask();
    EXPECT_EQ(r.boundingRect(), QRect(0, 0, 3000, 3000));
    for (QPoint out : {QPoint(0, 0), QPoint(1499, 1499), QPoint(10, 348), QPoint(10, 349), QPoint(700, 1100)})
        EXPECT_FALSE(r.contains(out)) << out.x() << "," << out.y();
    for (QPoint in : {QPoint(1600, 0), QPoint(0, 1600), QPoint(2999, 2999), QPoint(1600, 349)})
        EXPECT_TRUE(r.contains(in)) << in.x() << "," << in.y();
}

TEST(SkinRegionLimits, AShapeOfTooManyRectanglesKeepsItsRectangle) {
    // Every other pixel keyed: 1,000 runs a row.
    Shaped fine(2, 1, {{0, 0}}, TskTileStyle::tsTile);
    fine.o.SetBounds(0, 0, 2000, 1000);
    const QRegion shaped = fine.o.Mask();
    EXPECT_FALSE(shaped.contains(QPoint(0, 0)));
    EXPECT_TRUE(shaped.contains(QPoint(1, 999)));
    EXPECT_EQ(shaped.rectCount(), 2000 * 1000 / 2);
    // Three times as many rows: more rectangles than the budget leaves.
    Shaped coarse(2, 1, {{0, 0}}, TskTileStyle::tsTile);
    coarse.o.SetBounds(0, 0, 3000, 3000);
    EXPECT_EQ(coarse.o.Mask(), QRegion(0, 0, 3000, 3000));
}

TEST(SkinRegionLimits, AMaskIsCutToItsTreeAndUnitesManyParts) {
    TSkSkinObject parent;
    for (int k = 0; k < 20000; ++k) new TSkSkinObject(&parent);
    auto* outside = new TSkSkinObject(&parent);
    parent.SetBounds(0, 0, 400, 200);
    for (int k = 0; k < 20000; ++k) parent.Child(k)->SetBoundsRect(QRect(k % 200 * 2, k / 200 * 2, 1, 1));
    outside->SetBoundsRect(QRect(390, 190, 100, 100));
    const QRegion mask = parent.Mask();
    EXPECT_TRUE(mask.contains(QPoint(398, 198)));
    EXPECT_FALSE(mask.contains(QPoint(1, 0)));
    EXPECT_TRUE(mask.contains(QPoint(399, 199)));   // the part that lies inside
    EXPECT_FALSE(mask.contains(QPoint(400, 200)));  // and not beyond
    EXPECT_EQ(mask.boundingRect(), QRect(0, 0, 400, 200));
}
