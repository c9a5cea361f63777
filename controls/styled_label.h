#pragma once
// A windowless label with 3D text styles (raised, recessed, drop shadow), the
// graphic controls' frame around the text, rotated text, a hover colour,
// blinking and caption condensing. Line breaks in the caption are #13.
#include "framed_border.h"

#include <vector>

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum class TCondenseCaption { ccNone, ccAtEnd, ccWithinPath };
enum class TRotation { roNone, roFlat, roCurve };
enum class TCenterPoint { cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter,
                          cpLowerLeft, cpLowerCenter, cpLowerRight };

// One drawing of the text: offset from the base position and colour.
struct TLabelPass {
    int dx = 0, dy = 0;
    TColor color = clBlack;
    bool operator==(const TLabelPass&) const = default;
};

class TFrLabel : public TFrBorder {
    Q_OBJECT
public:
    TFrLabel(TComponent* owner, QWidget* parent);
    ~TFrLabel() override;
    QString ClassName() const override { return QStringLiteral("TFrLabel"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    TTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TTextStyle s);
    bool LightTextStyle() const { return lightTextStyle_; }
    void SetLightTextStyle(bool v);
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor c);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor c);
    int ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(int v);
    TCondenseCaption CondenseCaption() const { return condense_; }
    void SetCondenseCaption(TCondenseCaption c);

    // Degrees, kept in 0..359.
    int Angle() const { return angle_; }
    void SetAngle(int degrees);
    TRotation Rotation() const { return rotation_; }
    void SetRotation(TRotation r);
    TCenterPoint CenterPoint() const { return centerPoint_; }
    void SetCenterPoint(TCenterPoint p);

    bool FlyByEnabled() const { return flyByEnabled_; }
    void SetFlyByEnabled(bool v);
    TColor FlyByColor() const { return flyByColor_; }
    void SetFlyByColor(TColor c);

    bool Blinking() const { return blinking_; }
    void SetBlinking(bool v);
    TColor BlinkColor() const { return blinkColor_; }
    void SetBlinkColor(TColor c);
    int BlinkIntervalOn() const { return blinkOn_; }
    void SetBlinkIntervalOn(int ms);
    int BlinkIntervalOff() const { return blinkOff_; }
    void SetBlinkIntervalOff(int ms);
    bool BlinkPhaseOn() const { return blinkPhaseOn_; }
    // The blink service's call: switches to the other phase and repaints.
    void SwitchBlinkPhase();

    // The colour the final text pass uses now.
    TColor TextColor() const { return textColor_; }
    // The text passes for the current style and state, in drawing order.
    std::vector<TLabelPass> Passes() const;
    // The rectangle the text is laid out in.
    TRect TextRect() const;
    unsigned DrawFlags() const;
    // The caption with its line breaks as the text drawing takes them.
    QString DisplayText() const;
    // The caption's lines, as its CR / CR LF breaks divide it.
    QStringList Lines() const { return DisplayText().split(QLatin1Char('\n')); }
    // Fits the bounds to the caption when AutoSize is on.
    void AdjustBounds();

    void Loaded() override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void CaptionChanged() override;
    void FontChanged() override;
    void FrameChanged() override;

private:
    void Changed();
    void SetFontColorQuietly(TColor c);
    void DrawTextPass(Canvas& c, const QString& text, const TRect& base, const TLabelPass& pass, unsigned flags);
    // Lines are a fixed pitch apart, the height of the label's own font, so a
    // fallback face for Chinese does not spread them out.
    int LinePitch() const;
    QSize TextExtent(const QString& text, unsigned flags, int wrapWidth) const;
    void DrawLabelText(Canvas& c, const QString& text, const TRect& r, unsigned flags);
    QString CondensedText(const Canvas& c, const TRect& r) const;

    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool constructed_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TTextLayout layout_ = TTextLayout::tlTop;
    TTextStyle textStyle_ = TTextStyle::tsNormal;
    bool lightTextStyle_ = false;
    TColor highlightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
    int shadowDepth_ = 2;
    TCondenseCaption condense_ = TCondenseCaption::ccNone;
    int angle_ = 0;
    TRotation rotation_ = TRotation::roNone;
    TCenterPoint centerPoint_ = TCenterPoint::cpCenter;
    bool flyByEnabled_ = false;
    TColor flyByColor_ = clHighlight;
    bool blinking_ = false;
    TColor blinkColor_ = clHighlight;
    int blinkOn_ = 500, blinkOff_ = 500;
    bool blinkPhaseOn_ = false;
    TColor textColor_ = clWindowText;
    TColor savedFontColor_ = clWindowText;
    bool updatingColor_ = false;
};

// The one timer behind every blinking label. Labels register on creation; the
// service ticks only while at least one of them blinks.
class TBlinkService {
public:
    static TBlinkService* Existing();  // null when no label exists
    static TBlinkService* Acquire();   // creates it with the first label
    void Register(TFrLabel* l);
    void Unregister(TFrLabel* l);      // frees the service with its last label
    void BlinkingChanged(TFrLabel* l);
    // Switches every blinking label whose phase has run out by nowMs.
    void Tick(qint64 nowMs);
    int Count() const { return int(labels_.size()); }

private:
    struct Entry { TFrLabel* label; qint64 due; };
    TBlinkService();
    ~TBlinkService();
    qint64 Now() const;
    void UpdateTimer();

    std::vector<Entry> labels_;
    class QTimer* timer_;
    class QElapsedTimer* clock_;
};
