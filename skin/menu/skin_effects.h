#pragma once
// The named reveal effects that windows and menus may be shown with. Each
// effect works on a grid of cells laid over the picture and, at progress 100,
// must show the whole picture.
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Kind 1 effects move the picture: each cell says where its pixels come from.
struct TskSlideCell {
    std::int16_t dx = 0, dy = 0;  // source offset in pixels
    std::uint8_t alpha = 255;
    std::uint8_t spare = 0;
};
static_assert(sizeof(TskSlideCell) == 6, "a slide cell is six bytes");

// One frame of one effect.
struct TskEffectFrame {
    double progress = 0;  // 0 to 100
    QSize picture;        // pixels
    QSize cells;          // the mask grid
    std::uint8_t* mask = nullptr;      // kind 0: one byte per cell, row by row
    TskSlideCell* slide = nullptr;     // kind 1
    const QImage* source = nullptr;    // kind 2: the picture, key pixels cleared
    QImage* work = nullptr;            // kind 2 draws here
};

using TskEffectProc = void (*)(TskEffectFrame& frame);

// The three kinds, by what a procedure fills in.
namespace skeffect {
constexpr int kMask = 0, kSlide = 1, kManual = 2;
}

struct TskEffectEntry {
    QString displayName;  // prefix of the kind + registered name
    int kind = skeffect::kMask;
    TskEffectProc proc = nullptr;
};

extern const QString kRandomEffectName;  // "[ RANDOM ] - Random selection"
extern const QString kBitmapEffectName;  // "[ BITMAP ] - Bitmap Animation"

// "[ FADE ] - ", "[ SLIDE ] - " or "[ MANUAL ] - ".
QString EffectKindPrefix(int kind);

class TskEffectList {
public:
    // Raises EInvalidOperation for a display name (any case) or a procedure
    // that is already there.
    void Register(const QString& name, int kind, TskEffectProc proc);
    // By full display name, else by the name after its kind prefix; any case.
    const TskEffectEntry* Find(const QString& name) const;
    const std::vector<TskEffectEntry>& Entries() const { return entries_; }
    int Count() const { return int(entries_.size()); }
private:
    std::vector<TskEffectEntry> entries_;
};

// The 58 effects of the program, in their order.
void RegisterBuiltInEffects(TskEffectList& list);
// The program's registry, filled on first use.
TskEffectList& EffectRegistry();
// What EffectKind may name: random, bitmap, then every display name.
QStringList EffectKindNames();

// Cells of the mask for a picture: (w div r div t + 1) x (h div r div t + 1).
QSize EffectMaskSize(QSize picture, int resolution, int tileCount);
