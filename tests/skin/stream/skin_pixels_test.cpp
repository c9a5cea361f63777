// The fast paths over pixels against the rules they stand for: the key colour
// and alpha tests of stream bitmaps, the transparency of link pieces, the
// lookup of bitmaps by name.
#include "skin_object.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The rules as written: the key within 5 per channel, then the alpha tests.
struct Reference {
    std::vector<std::uint32_t> pixels;
    bool key = false, transparent = false, partial = false;
    explicit Reference(const std::vector<std::uint32_t>& in) : pixels(in) {
        for (std::uint32_t& px : pixels) {
            const int r = int((px >> 16) & 0xFF), g = int((px >> 8) & 0xFF), b = int(px & 0xFF);
            if (std::abs(r - 0x7F) < 6 && g < 6 && std::abs(b - 0x7F) < 6) {
                px = kSkinTransparent;
                key = true;
            }
            const std::uint32_t a = px >> 24;
            transparent |= a != 255;
            partial |= a != 0 && a != 255;
        }
    }
};

std::uint32_t RandomPixel(QRandomGenerator& rng) {
    const std::uint32_t alphas[] = {0, 1, 128, 254, 255, 255, 255, 255};
    std::uint32_t px = alphas[rng.bounded(8)] << 24;
    if (rng.bounded(3) == 0) {  // near the key, within reach or one step past it
        px |= std::uint32_t(0x79 + rng.bounded(13)) << 16 | std::uint32_t(rng.bounded(8)) << 8 | std::uint32_t(0x79 + rng.bounded(13));
    } else {
        px |= rng.generate() & 0xFFFFFF;
    }
    return px;
}

}  // namespace

TEST(SkinStreamPixels, KeyColourAndAlphaFlagsMatchTheRulesForAnyLengthAndAlignment) {
    QRandomGenerator rng(7);
    for (int round = 0; round < 400; ++round) {
        const int w = 1 + int(rng.bounded(37)), h = 1 + int(rng.bounded(3));
        std::vector<std::uint32_t> px(std::size_t(w * h));
        for (auto& p : px) p = rng.bounded(5) == 0 ? RandomPixel(rng) : 0xFF000000u | (rng.generate() & 0xFFFFFF);
        if (round % 3 == 0)  // all opaque: no flag may be set
            for (auto& p : px) p = 0xFF102030u;
        const Reference want(px);
        // Stream bytes need not be aligned.
        QByteArray bytes(1 + int(px.size()) * 4, '\0');
        std::memcpy(bytes.data() + 1, px.data(), px.size() * 4);
        TskBitmap b;
        b.LoadStreamPixels(w, h, bytes.constData() + 1);
        ASSERT_EQ(std::vector<std::uint32_t>(b.Bits(), b.Bits() + px.size()), want.pixels) << round;
        EXPECT_EQ(b.HasKeyColor(), want.key) << round;
        EXPECT_EQ(b.HasTransparency(), want.transparent) << round;
        EXPECT_EQ(b.HasPartialAlpha(), want.partial) << round;
        // The same rules in place, as bitmap files go through them.
        TskBitmap again;
        again.SetSize(w, h);
        std::memcpy(again.Bits(), px.data(), px.size() * 4);
        again.ApplyStreamRules();
        EXPECT_EQ(std::vector<std::uint32_t>(again.Bits(), again.Bits() + px.size()), want.pixels);
        EXPECT_EQ(again.HasPartialAlpha(), want.partial);
    }
}

TEST(SkinLinkFlags, NineSliceGroupsMatchAPixelByPixelWalk) {
    QRandomGenerator rng(11);
    for (int round = 0; round < 300; ++round) {
        const int w = 1 + int(rng.bounded(30)), h = 1 + int(rng.bounded(30));
        TskBitmapList list;
        auto b = std::make_unique<TskBitmap>("b", w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b->SetPixel(x, y, rng.bounded(40) == 0 ? kSkinTransparent : 0xFF336699u);
        b->TestPartialAlpha();
        const TskBitmap* bmp = b.get();
        list.Add(std::move(b));
        TskBitmapLink link{"B", int(rng.bounded(w + 4)) - 2, int(rng.bounded(h + 4)) - 2, 0, 0};
        link.right = link.left + int(rng.bounded(w + 3));
        link.bottom = link.top + int(rng.bounded(h + 3));
        const int ml = int(rng.bounded(12)) - 2, mt = int(rng.bounded(12)) - 2, mr = int(rng.bounded(12)) - 2,
                  mb = round % 4 == 0 ? 0 : int(rng.bounded(12)) - 2;
        const bool none = round % 4 == 0;
        link.Resolve(&list, none ? 0 : ml, none ? 0 : mt, none ? 0 : mr, mb);
        bool centre = false, borders = false, corners = false;
        const int lw = link.right - link.left, lh = link.bottom - link.top;
        for (int y = std::max(0, link.top); y < std::min(h, link.bottom); ++y)
            for (int x = std::max(0, link.left); x < std::min(w, link.right); ++x) {
                if (bmp->Pixel(x, y) >> 24 == 255) continue;
                if (none && mb == 0) {
                    centre = true;
                    continue;
                }
                const int rx = x - link.left, ry = y - link.top;
                const bool hEdge = rx < ml || rx >= lw - mr, vEdge = ry < mt || ry >= lh - mb;
                (hEdge && vEdge ? corners : hEdge || vEdge ? borders : centre) = true;
            }
        if (none && mb != 0) continue;  // only the margins given decide; skip the mixed case
        EXPECT_EQ(link.centerTransparent, centre) << round;
        EXPECT_EQ(link.bordersTransparent, borders) << round;
        EXPECT_EQ(link.cornersTransparent, corners) << round;
    }
}

TEST(SkinBitmapLookup, FoldsCaseBeyondAsciiAndTheLastNameWins) {
    TskBitmapList list;
    list.Add(std::make_unique<TskBitmap>(QStringLiteral("Ärmel"), 1, 1));
    list.Add(std::make_unique<TskBitmap>(QStringLiteral("glyph"), 1, 1));
    list.Add(std::make_unique<TskBitmap>(QStringLiteral("GLYPH"), 1, 1));
    EXPECT_EQ(list.Find(QStringLiteral("ärmel")), list.At(0));
    EXPECT_EQ(list.Find(QStringLiteral("Glyph")), list.At(2));
    EXPECT_EQ(list.Find(QStringLiteral("glyp")), nullptr);
    list.At(2)->SetName("other");  // a renamed bitmap is found by its new name only
    EXPECT_EQ(list.Find(QStringLiteral("Glyph")), list.At(1));
    EXPECT_EQ(list.Find(QStringLiteral("OTHER")), list.At(2));
    EXPECT_EQ(list.Find(QStringLiteral("\U0001D400")), nullptr);
}
