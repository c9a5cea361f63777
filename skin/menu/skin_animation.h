#pragma once
// A timed reveal of a picture by one named effect. It runs to its end inside
// the call that shows a window or menu; only its total time is fixed, so a
// slow machine sees fewer frames, never a longer run.
#include "component.h"
#include "skin_effects.h"

#include <QImage>
#include <QPoint>
#include <functional>

enum class TSkDirection { kdNone, kdNoRotate, kdRotate90, kdRotate180, kdRotate270 };
enum class TskRotation { krNone, krRotate90, krRotate180, krRotate270 };
extern const EnumNames<TSkDirection> kSkDirectionNames;

class TskAnimationRec : public TComponent {
public:
    explicit TskAnimationRec(TComponent* owner = nullptr) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TskAnimationRec"); }

    QString EffectKind = kRandomEffectName;
    int Resolution = 1;  // pixels per cell side
    int TileCount = 1;   // the effect repeats this many times across and down
    int Time = 400;      // milliseconds
    TskRotation Rotation = TskRotation::krNone;
    QImage Bitmap;       // the mask picture of the bitmap effect

    // Milliseconds since some fixed point; tests give their own.
    std::function<double()> Clock;

    // Plays the effect of source onto target at `at`. After each frame drawn
    // frameDrawn (when given) gets the progress; the last frame is always
    // the whole picture at progress 100. Nothing happens for an empty source
    // or target, or for an effect name that is not registered.
    void Run(const QImage& source, QImage& target, QPoint at,
             const std::function<void(double progress)>& frameDrawn = {}) const;

    // One frame of entry into work (a copy of source with key pixels
    // cleared), for a progress of 0 to 100.
    void RenderFrame(const TskEffectEntry* entry, const QImage& prepared, QImage& work, double progress) const;

private:
    const TskEffectEntry* ChooseEffect() const;
    // Scratch space of the frames.
    mutable std::vector<std::uint8_t> mask_, rotated_;
    mutable std::vector<TskSlideCell> slide_;
};

// The published face of one animation record.
class TSkAnimation {
public:
    TskAnimationRec& Rec() { return rec_; }
    const TskAnimationRec& Rec() const { return rec_; }

    TSkDirection Direction() const { return direction_; }
    void SetDirection(TSkDirection d);
    const QString& EffectKind() const { return rec_.EffectKind; }
    void SetEffectKind(const QString& k) { rec_.EffectKind = k; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    int Resolution() const { return rec_.Resolution; }
    void SetResolution(int v) { rec_.Resolution = v; }
    int TileCount() const { return rec_.TileCount; }
    void SetTileCount(int v) { rec_.TileCount = v; }
    int Time() const { return rec_.Time; }
    void SetTime(int v) { rec_.Time = v; }
    // Takes o's settings; the record's scratch space stays its own.
    void Assign(const TSkAnimation& o) {
        direction_ = o.direction_;
        enabled_ = o.enabled_;
        rec_.EffectKind = o.rec_.EffectKind;
        rec_.Resolution = o.rec_.Resolution;
        rec_.TileCount = o.rec_.TileCount;
        rec_.Time = o.rec_.Time;
        rec_.Rotation = o.rec_.Rotation;
        rec_.Bitmap = o.rec_.Bitmap;
        rec_.Clock = o.rec_.Clock;
    }

private:
    TskAnimationRec rec_;
    TSkDirection direction_ = TSkDirection::kdNone;
    bool enabled_ = false;
};

// Prefix.Direction, Prefix.EffectKind ... of an animation member.
template <class T>
void AddAnimationProperties(PropertyBuilder<T>& b, const QString& prefix, std::function<TSkAnimation&(T&)> anim) {
    auto get = [anim](const T& o) -> const TSkAnimation& { return anim(const_cast<T&>(o)); };
    b.template Enum<TSkDirection>(prefix + QStringLiteral(".Direction"), kSkDirectionNames,
                                  [get](const T& o) { return get(o).Direction(); },
                                  [anim](T& o, TSkDirection d) { anim(o).SetDirection(d); }, TSkDirection::kdNone);
    b.Str(prefix + QStringLiteral(".EffectKind"), [get](const T& o) { return get(o).EffectKind(); },
          [anim](T& o, const QString& v) { anim(o).SetEffectKind(v); }, kRandomEffectName);
    b.Bool(prefix + QStringLiteral(".Enabled"), [get](const T& o) { return get(o).Enabled(); },
           [anim](T& o, bool v) { anim(o).SetEnabled(v); }, false);
    b.Int(prefix + QStringLiteral(".Resolution"), [get](const T& o) { return get(o).Resolution(); },
          [anim](T& o, int v) { anim(o).SetResolution(v); }, 1);
    b.Int(prefix + QStringLiteral(".TileCount"), [get](const T& o) { return get(o).TileCount(); },
          [anim](T& o, int v) { anim(o).SetTileCount(v); }, 1);
    b.Int(prefix + QStringLiteral(".Time"), [get](const T& o) { return get(o).Time(); },
          [anim](T& o, int v) { anim(o).SetTime(v); }, 400);
}
