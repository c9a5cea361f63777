#include "skin_effects.h"

#include "exceptions.h"

#include <algorithm>
#include <cmath>

const QString kRandomEffectName = QStringLiteral("[ RANDOM ] - Random selection");
const QString kBitmapEffectName = QStringLiteral("[ BITMAP ] - Bitmap Animation");

QString EffectKindPrefix(int kind) {
    switch (kind) {
    case skeffect::kSlide: return QStringLiteral("[ SLIDE ] - ");
    case skeffect::kManual: return QStringLiteral("[ MANUAL ] - ");
    default: return QStringLiteral("[ FADE ] - ");
    }
}

void TskEffectList::Register(const QString& name, int kind, TskEffectProc proc) {
    const QString display = EffectKindPrefix(kind) + name;
    for (const TskEffectEntry& e : entries_)
        if (e.displayName.compare(display, Qt::CaseInsensitive) == 0 || e.proc == proc)
            throw EInvalidOperation(QStringLiteral("Effect procedute %1 already exists in list").arg(name));
    entries_.push_back({display, kind, proc});
}

const TskEffectEntry* TskEffectList::Find(const QString& name) const {
    for (const TskEffectEntry& e : entries_)
        if (e.displayName.compare(name, Qt::CaseInsensitive) == 0) return &e;
    for (const TskEffectEntry& e : entries_) {
        const int prefix = int(EffectKindPrefix(e.kind).size());
        if (QStringView(e.displayName).mid(prefix).compare(name, Qt::CaseInsensitive) == 0) return &e;
    }
    return nullptr;
}

QSize EffectMaskSize(QSize picture, int resolution, int tileCount) {
    resolution = std::max(1, resolution);
    tileCount = std::max(1, tileCount);
    return QSize(picture.width() / resolution / tileCount + 1, picture.height() / resolution / tileCount + 1);
}

namespace {

// ---- kind 0: a reveal order per cell, and how a cell turns from hidden to shown ----

// A cell with its place in the grid, u and v from 0 to 1.
struct Cell {
    double u, v;
    int x, y;
};

double Centered(double t) { return std::abs(2 * t - 1); }

// The same cells get the same "random" value in every frame.
double Hash(int x, int y) {
    std::uint32_t h = std::uint32_t(x) * 0x9E3779B1u ^ std::uint32_t(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return (h & 0xFFFFFF) / double(0x1000000);
}

// Each shape says when a cell appears: 0 first, 1 last.
double Diagonal(const Cell& c) { return (c.u + c.v) / 2; }
double DiagonalIn(const Cell& c) { return 1 - std::abs(c.u + c.v - 1); }
double DiagonalOut(const Cell& c) { return std::abs(c.u + c.v - 1); }
double Down(const Cell& c) { return c.v; }
double In(const Cell& c) { return 1 - Centered(c.v); }
double Out(const Cell& c) { return Centered(c.v); }
double CrossOut(const Cell& c) { return std::min(Centered(c.u), Centered(c.v)); }
double CrossIn(const Cell& c) { return 1 - CrossOut(c); }
double RectOut(const Cell& c) { return std::max(Centered(c.u), Centered(c.v)); }
double RectIn(const Cell& c) { return 1 - RectOut(c); }
double CircleOut(const Cell& c) { return std::min(1.0, std::hypot(2 * c.u - 1, 2 * c.v - 1) / std::sqrt(2.0)); }
double CircleIn(const Cell& c) { return 1 - CircleOut(c); }
double CircleCorner(const Cell& c) { return std::min(1.0, std::hypot(c.u, c.v) / std::sqrt(2.0)); }
double DiamondOut(const Cell& c) { return (Centered(c.u) + Centered(c.v)) / 2; }
double DiamondIn(const Cell& c) { return 1 - DiamondOut(c); }
double Sweep(const Cell& c) {  // clockwise from twelve o'clock
    const double a = std::atan2(2 * c.u - 1, 1 - 2 * c.v) / (2 * M_PI);
    return a < 0 ? a + 1 : a;
}
double Scatter(const Cell& c) { return Hash(c.x, c.y); }
double ScatterRows(const Cell& c) { return Hash(0, c.y); }
double Streams(const Cell& c) { return (c.v + Hash(c.x, 0)) / 2; }
double PlasmaField(const Cell& c) {
    const double s = std::sin(c.u * 7.1) + std::sin(c.v * 9.3) + std::sin((c.u + c.v) * 5.7) +
                     std::sin(std::hypot(c.u - 0.5, c.v - 0.5) * 12.9);
    return std::clamp(s / 8 + 0.5, 0.0, 1.0);
}
double Everywhere(const Cell&) { return 0; }

using Shape = double (*)(const Cell&);

// Hard edge: a cell is there or not.
std::uint8_t SlideStyle(double d, double p) { return p >= 1 || d < p ? 255 : 0; }
// A soft band runs ahead of the edge.
std::uint8_t SmoothStyle(double d, double p) {
    constexpr double band = 0.2;
    return std::uint8_t(std::lround(std::clamp((p * (1 + band) - d) / band, 0.0, 1.0) * 255));
}
// Every cell fades in over half the run, the later ones starting later.
std::uint8_t FadeStyle(double d, double p) {
    return std::uint8_t(std::lround(std::clamp((p - d / 2) * 2, 0.0, 1.0) * 255));
}

using Style = std::uint8_t (*)(double, double);

template <Shape S, Style St>
void MaskEffect(TskEffectFrame& f) {
    const int w = f.cells.width(), h = f.cells.height();
    const double p = std::clamp(f.progress / 100.0, 0.0, 1.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Cell c{w > 1 ? double(x) / (w - 1) : 0.0, h > 1 ? double(y) / (h - 1) : 0.0, x, y};
            f.mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] = St(std::clamp(S(c), 0.0, 1.0), p);
        }
}

// ---- kind 1: parts of the picture travel into place ----------------------------------

std::int16_t Offset(double remaining, int length) {
    return std::int16_t(std::clamp<long>(std::lround(remaining * length), -32767, 32767));
}

void Interlace(TskEffectFrame& f) {
    const double rest = 1 - std::clamp(f.progress / 100.0, 0.0, 1.0);
    const int w = f.cells.width(), h = f.cells.height();
    for (int y = 0; y < h; ++y) {
        const std::int16_t dx = Offset(y % 2 ? -rest : rest, f.picture.width());
        for (int x = 0; x < w; ++x) f.slide[std::size_t(y) * std::size_t(w) + std::size_t(x)] = {dx, 0, 255, 0};
    }
}

// The picture comes in from the top left corner.
void Corner(TskEffectFrame& f) {
    const double rest = 1 - std::clamp(f.progress / 100.0, 0.0, 1.0);
    const TskSlideCell cell{Offset(rest, f.picture.width()), Offset(rest, f.picture.height()), 255, 0};
    std::fill_n(f.slide, std::size_t(f.cells.width()) * std::size_t(f.cells.height()), cell);
}

// ---- kind 2: the procedure draws the frame itself -------------------------------------

void ClearWork(QImage& work) { work.fill(0); }

void SlideIn(TskEffectFrame& f) {
    QImage& work = *f.work;
    const int h = work.height();
    const int shift = int(std::lround((1 - std::clamp(f.progress / 100.0, 0.0, 1.0)) * h));
    ClearWork(work);
    for (int y = 0; y + shift < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(f.source->constScanLine(y + shift)), work.width(),
                    reinterpret_cast<QRgb*>(work.scanLine(y)));
}

void Push(TskEffectFrame& f) {
    QImage& work = *f.work;
    const int w = work.width();
    const int shown = int(std::lround(std::clamp(f.progress / 100.0, 0.0, 1.0) * w));
    ClearWork(work);
    if (shown < 1) return;
    for (int y = 0; y < work.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(f.source->constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(work.scanLine(y));
        for (int x = 0; x < shown; ++x) dst[x] = src[std::min(w - 1, int(std::int64_t(x) * w / shown))];
    }
}

}  // namespace

void RegisterBuiltInEffects(TskEffectList& list) {
    struct Named { const char* name; TskEffectProc proc; };
    const Named masks[] = {
        {"SmoothDiagonal", MaskEffect<Diagonal, SmoothStyle>},
        {"SmoothDiagonalIn", MaskEffect<DiagonalIn, SmoothStyle>},
        {"SmoothDiagonalOut", MaskEffect<DiagonalOut, SmoothStyle>},
        {"SmoothDown", MaskEffect<Down, SmoothStyle>},
        {"SmoothIn", MaskEffect<In, SmoothStyle>},
        {"SmoothOut", MaskEffect<Out, SmoothStyle>},
        {"SmoothCrossOut", MaskEffect<CrossOut, SmoothStyle>},
        {"SmoothCrossIn", MaskEffect<CrossIn, SmoothStyle>},
        {"SmoothRectIn", MaskEffect<RectIn, SmoothStyle>},
        {"SmoothRectOut", MaskEffect<RectOut, SmoothStyle>},
        {"SlideDiagonal", MaskEffect<Diagonal, SlideStyle>},
        {"SlideDiagonalIn", MaskEffect<DiagonalIn, SlideStyle>},
        {"SlideDiagonalOut", MaskEffect<DiagonalOut, SlideStyle>},
        {"SlideDown", MaskEffect<Down, SlideStyle>},
        {"SlideIn", MaskEffect<In, SlideStyle>},
        {"SlideOut", MaskEffect<Out, SlideStyle>},
        {"SlideCrossOut", MaskEffect<CrossOut, SlideStyle>},
        {"SlideCrossIn", MaskEffect<CrossIn, SlideStyle>},
        {"SlideRectOut", MaskEffect<RectOut, SlideStyle>},
        {"SlideRectIn", MaskEffect<RectIn, SlideStyle>},
        {"Fade", MaskEffect<Everywhere, FadeStyle>},
        {"FadeDiagonal", MaskEffect<Diagonal, FadeStyle>},
        {"FadeDiagonalIn", MaskEffect<DiagonalIn, FadeStyle>},
        {"FadeDiagonalOut", MaskEffect<DiagonalOut, FadeStyle>},
        {"FadeDown", MaskEffect<Down, FadeStyle>},
        {"FadeIn", MaskEffect<In, FadeStyle>},
        {"FadeOut", MaskEffect<Out, FadeStyle>},
        {"FadeCrossOut", MaskEffect<CrossOut, FadeStyle>},
        {"FadeCrossIn", MaskEffect<CrossIn, FadeStyle>},
        {"FadeRectOut", MaskEffect<RectOut, FadeStyle>},
        {"FadeRectIn", MaskEffect<RectIn, FadeStyle>},
        {"Pixel", MaskEffect<Scatter, SlideStyle>},
        {"Pixel fade", MaskEffect<Scatter, FadeStyle>},
        {"Pixel line", MaskEffect<ScatterRows, SlideStyle>},
        {"CircleSlideOut", MaskEffect<CircleOut, SlideStyle>},
        {"CircleFadeOut", MaskEffect<CircleOut, FadeStyle>},
        {"CircleSmoothOut", MaskEffect<CircleOut, SmoothStyle>},
        {"CircleSlideIn", MaskEffect<CircleIn, SlideStyle>},
        {"CircleFadeIn", MaskEffect<CircleIn, FadeStyle>},
        {"CircleSmoothIn", MaskEffect<CircleIn, SmoothStyle>},
        {"CircleSlide", MaskEffect<CircleCorner, SlideStyle>},
        {"CircleFade", MaskEffect<CircleCorner, FadeStyle>},
        {"CircleSmooth", MaskEffect<CircleCorner, SmoothStyle>},
        {"DiamondSlideIn", MaskEffect<DiamondIn, SlideStyle>},
        {"DiamondFadeIn", MaskEffect<DiamondIn, FadeStyle>},
        {"DiamondSmoothIn", MaskEffect<DiamondIn, SmoothStyle>},
        {"DiamondSlideOut", MaskEffect<DiamondOut, SlideStyle>},
        {"DiamondFadeOut", MaskEffect<DiamondOut, FadeStyle>},
        {"DiamondSmoothOut", MaskEffect<DiamondOut, SmoothStyle>},
        {"RotateSlide", MaskEffect<Sweep, SlideStyle>},
        {"RotateFade", MaskEffect<Sweep, FadeStyle>},
        {"RotateSmooth", MaskEffect<Sweep, SmoothStyle>},
        {"Stream", MaskEffect<Streams, SlideStyle>},
        {"Plasma", MaskEffect<PlasmaField, SmoothStyle>},
    };
    for (const Named& n : masks) list.Register(QString::fromLatin1(n.name), skeffect::kMask, n.proc);
    list.Register(QStringLiteral("Interlace"), skeffect::kSlide, Interlace);
    list.Register(QStringLiteral("Corner"), skeffect::kSlide, Corner);
    list.Register(QStringLiteral("Slide"), skeffect::kManual, SlideIn);
    list.Register(QStringLiteral("Push"), skeffect::kManual, Push);
}

TskEffectList& EffectRegistry() {
    static TskEffectList list = [] {
        TskEffectList l;
        RegisterBuiltInEffects(l);
        return l;
    }();
    return list;
}

QStringList EffectKindNames() {
    QStringList names{kRandomEffectName, kBitmapEffectName};
    for (const TskEffectEntry& e : EffectRegistry().Entries()) names << e.displayName;
    return names;
}
