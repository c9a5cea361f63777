#include "styled_label.h"

#include "application.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
const EnumNames<TAlignment> kAlignmentNames{{"taLeftJustify", "taRightJustify", "taCenter"}};
const EnumNames<TTextLayout> kLayoutNames{{"tlTop", "tlCenter", "tlBottom"}};
const EnumNames<TTextStyle> kTextStyleNames{{"tsNormal", "tsRaised", "tsRecessed", "tsShadow"}};
const EnumNames<TCondenseCaption> kCondenseNames{{"ccNone", "ccAtEnd", "ccWithinPath"}};
const EnumNames<TRotation> kRotationNames{{"roNone", "roFlat", "roCurve"}};
const EnumNames<TCenterPoint> kCenterPointNames{{"cpUpperLeft", "cpUpperCenter", "cpUpperRight", "cpLeftCenter",
                                                 "cpCenter", "cpRightCenter", "cpLowerLeft", "cpLowerCenter",
                                                 "cpLowerRight"}};
constexpr unsigned dtPathEllipsis = 0x4000;

TBlinkService* gBlink = nullptr;

// What a style takes off each listed side of the text area (the flat and
// rounded styles draw over the text's margin instead).
int TextInset(TFrameStyle s, int bevelWidth) {
    switch (s) {
    case TFrameStyle::fsNone: case TFrameStyle::fsFlatBold: case TFrameStyle::fsFlatRounded: return 0;
    case TFrameStyle::fsFlat: return 1;
    case TFrameStyle::fsStatus: case TFrameStyle::fsPopup: return bevelWidth;
    default: return 2;
    }
}
}  // namespace

TFrLabel::TFrLabel(TComponent* owner, QWidget* parent) : TFrBorder(owner, parent) {
    SetBorderOuter(TFrameStyle::fsNone);
    SetColor(clBtnFace);
    SetParentColor(true);
    resize(65, 17);
    textColor_ = savedFontColor_ = Font().color;
    TBlinkService::Acquire()->Register(this);
    constructed_ = true;
}

TFrLabel::~TFrLabel() {
    if (gBlink) gBlink->Unregister(this);
}

void TFrLabel::Changed() {
    AdjustBounds();
    update();
}

#define LB_SETTER(Name, Type, field)  \
    void TFrLabel::Set##Name(Type v) { \
        if (field == v) return;        \
        field = v;                     \
        Changed();                     \
    }
LB_SETTER(Alignment, TAlignment, alignment_)
LB_SETTER(WordWrap, bool, wordWrap_)
LB_SETTER(ShowAccelChar, bool, showAccelChar_)
LB_SETTER(Layout, TTextLayout, layout_)
LB_SETTER(TextStyle, TTextStyle, textStyle_)
LB_SETTER(LightTextStyle, bool, lightTextStyle_)
LB_SETTER(HighlightColor, TColor, highlightColor_)
LB_SETTER(ShadowColor, TColor, shadowColor_)
LB_SETTER(ShadowDepth, int, shadowDepth_)
LB_SETTER(CondenseCaption, TCondenseCaption, condense_)
LB_SETTER(CenterPoint, TCenterPoint, centerPoint_)
LB_SETTER(FlyByColor, TColor, flyByColor_)
LB_SETTER(BlinkColor, TColor, blinkColor_)
#undef LB_SETTER

void TFrLabel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    update();
}

void TFrLabel::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TFrLabel::SetAngle(int degrees) {
    // Any multiple of a turn folds back into 0..359, negative ones included.
    const int a = ((degrees % 360) + 360) % 360;
    if (a == angle_) return;
    angle_ = a;
    if (angle_ != 0 && rotation_ == TRotation::roNone) rotation_ = TRotation::roFlat;
    Changed();
    repaint();
}

void TFrLabel::SetRotation(TRotation r) {
    if (r == rotation_) return;
    rotation_ = r;
    if (r == TRotation::roNone) angle_ = 0;
    else if (r == TRotation::roFlat) {
        angle_ = 0;
        centerPoint_ = TCenterPoint::cpCenter;
    }
    Changed();
}

void TFrLabel::SetFlyByEnabled(bool v) {
    if (v == flyByEnabled_) return;
    flyByEnabled_ = v;
    if (!v) SetFontColorQuietly(savedFontColor_);
    update();
}

void TFrLabel::SetBlinking(bool v) {
    if (v == blinking_) return;
    blinking_ = v;
    if (!v) {
        blinkPhaseOn_ = false;
        textColor_ = savedFontColor_;
    }
    if (gBlink) gBlink->BlinkingChanged(this);
    update();
}

void TFrLabel::SetBlinkIntervalOn(int ms) { blinkOn_ = std::clamp(ms, 0, 0xFFFF); }
void TFrLabel::SetBlinkIntervalOff(int ms) { blinkOff_ = std::clamp(ms, 0, 0xFFFF); }

void TFrLabel::SwitchBlinkPhase() {
    blinkPhaseOn_ = !blinkPhaseOn_;
    textColor_ = blinkPhaseOn_ ? blinkColor_ : savedFontColor_;
    repaint();
}

void TFrLabel::SetFontColorQuietly(TColor c) {
    updatingColor_ = true;
    TFontSpec f = Font();
    f.color = c;
    SetFont(f);
    updatingColor_ = false;
    if (!blinkPhaseOn_) textColor_ = c;
}

void TFrLabel::FontChanged() {
    if (!IsLoading() && !blinking_ && !updatingColor_) textColor_ = savedFontColor_ = Font().color;
    // Every face here is scalable, so rotated text keeps its angle.
    AdjustBounds();
}

void TFrLabel::CaptionChanged() {
    AdjustBounds();
    repaint();
}

void TFrLabel::FrameChanged() { AdjustBounds(); }

void TFrLabel::Loaded() {
    TFrBorder::Loaded();
    if (angle_ != 0 && rotation_ == TRotation::roNone) rotation_ = TRotation::roFlat;
    textColor_ = savedFontColor_ = Font().color;
    AdjustBounds();
}

void TFrLabel::changeEvent(QEvent* e) {
    TFrBorder::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) update();
}

void TFrLabel::enterEvent(QEnterEvent* e) {
    if (flyByEnabled_) {
        savedFontColor_ = Font().color;
        SetFontColorQuietly(flyByColor_);
    }
    TFrBorder::enterEvent(e);
}

void TFrLabel::leaveEvent(QEvent* e) {
    if (flyByEnabled_) SetFontColorQuietly(savedFontColor_);
    TFrBorder::leaveEvent(e);
}

// ---- layout -------------------------------------------------------------------------------

QString TFrLabel::DisplayText() const {
    QString t = Caption();
    t.replace(QRegularExpression(QStringLiteral("\r\n|\r")), QStringLiteral("\n"));
    return t;
}

TRect TFrLabel::TextRect() const {
    const TBorderSpec& b = Border();
    TRect r = TRect{0, 0, width(), height()}.Inflate(-b.borderWidth, -b.borderWidth);
    const int inset = TextInset(b.outer, b.bevelWidth) + TextInset(b.inner, b.bevelWidth);
    if (b.sides & sdLeft) r.left += inset;
    if (b.sides & sdTop) r.top += inset;
    if (b.sides & sdRight) r.right -= inset;
    if (b.sides & sdBottom) r.bottom -= inset;
    return r;
}

unsigned TFrLabel::DrawFlags() const {
    unsigned f = dtExpandTabs;
    f |= alignment_ == TAlignment::taCenter ? dtCenter : alignment_ == TAlignment::taRightJustify ? dtRight : dtLeft;
    if (wordWrap_) f |= dtWordBreak;
    if (!showAccelChar_) f |= dtNoPrefix;
    if (condense_ == TCondenseCaption::ccAtEnd) f |= dtEndEllipsis;
    else if (condense_ == TCondenseCaption::ccWithinPath) f |= dtPathEllipsis;
    return f;
}

std::vector<TLabelPass> TFrLabel::Passes() const {
    if (!isEnabled()) return {{1, 1, clBtnHighlight}, {0, 0, clBtnShadow}};
    std::vector<TLabelPass> passes;
    switch (textStyle_) {
    case TTextStyle::tsNormal: break;
    case TTextStyle::tsRaised:
        if (!lightTextStyle_) passes.push_back({1, 1, shadowColor_});
        passes.push_back({-1, -1, highlightColor_});
        break;
    case TTextStyle::tsRecessed:
        passes.push_back({1, 1, highlightColor_});
        if (!lightTextStyle_) passes.push_back({-1, -1, shadowColor_});
        break;
    case TTextStyle::tsShadow: passes.push_back({shadowDepth_, shadowDepth_, shadowColor_}); break;
    }
    passes.push_back({0, 0, textColor_});
    return passes;
}

QString TFrLabel::CondensedText(const Canvas& c, const TRect& r) const {
    const QString text = DisplayText();
    if (condense_ != TCondenseCaption::ccWithinPath || c.TextWidth(text) <= r.Width()) return text;
    // Keep the last path element whole and shorten what comes before it.
    const int cut = std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char('/')));
    const QString tail = cut >= 0 ? text.mid(cut) : QString();
    const QString head = cut >= 0 ? text.left(cut) : text;
    const int room = std::max(0, r.Width() - c.TextWidth(tail));
    return c.Metrics().elidedText(head, cut >= 0 ? Qt::ElideRight : Qt::ElideMiddle, room) + tail;
}

int TFrLabel::LinePitch() const {
    // A font asked for by character height gets a fifth of it as leading on
    // the desktop these windows were laid out for; a taller fallback face
    // for Chinese would otherwise push the last lines out of the label.
    const QFont f = font();
    const int natural = QFontMetrics(f).height();
    const int px = f.pixelSize() > 0 ? f.pixelSize() : natural;
    return std::max(1, std::min(natural, int(std::lround(px * 1.2))));
}

QSize TFrLabel::TextExtent(const QString& text, unsigned flags, int wrapWidth) const {
    QFontMetrics fm(font());
    // An empty caption still measures one blank, so an auto-sized label
    // keeps a line's height and a sliver of width.
    QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    if (!(flags & dtNoPrefix)) shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (flags & dtWordBreak) {
        const QRect box = fm.boundingRect(QRect(0, 0, std::max(1, wrapWidth), 1 << 20),
                                          Qt::AlignLeft | Qt::TextExpandTabs | Qt::TextWordWrap, shown);
        return box.size();
    }
    const QStringList lines = shown.split(QLatin1Char('\n'));
    int w = 0;
    for (const QString& line : lines) w = std::max(w, fm.horizontalAdvance(line));
    return {w, int(lines.size()) * LinePitch()};
}

void TFrLabel::DrawLabelText(Canvas& c, const QString& text, const TRect& r, unsigned flags) {
    if (flags & dtWordBreak) {
        TRect box = r;
        c.DrawText(text, box, flags);
        return;
    }
    Canvas::StateSaver keep(c);
    c.IntersectClipRect(r);
    const int pitch = LinePitch();
    // Where the face is taller than the pitch, its extra leading comes off
    // above and below alike, so the glyphs stay centred on their line.
    const int lift = (QFontMetrics(font()).height() - pitch) / 2;
    int top = r.top - lift;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        TRect box{r.left, top, r.right, top + pitch};
        c.DrawText(line, box, flags | dtSingleLine | dtNoClip);
        top += pitch;
    }
}

void TFrLabel::DrawTextPass(Canvas& c, const QString& text, const TRect& base, const TLabelPass& pass, unsigned flags) {
    TRect r = base.Offset(pass.dx, pass.dy);
    if (layout_ != TTextLayout::tlTop) {
        const int bottom = r.top + TextExtent(text, flags, r.Width()).height();
        const int room = (height() - Border().borderWidth) - bottom;
        r = r.Offset(0, layout_ == TTextLayout::tlCenter ? room / 2 : room);
    }
    if (textStyle_ == TTextStyle::tsShadow) {
        if (alignment_ == TAlignment::taRightJustify) r = r.Offset(-shadowDepth_, 0);
        if (layout_ == TTextLayout::tlBottom) r = r.Offset(0, -shadowDepth_);
    }
    c.SetFontColor(pass.color);
    DrawLabelText(c, text, r, flags);
}

void TFrLabel::AdjustBounds() {
    // The constructor sets its own size last; measuring before that is lost work.
    if (!autoSize_ || IsLoading() || !constructed_) return;
    const TRect text = TextRect();
    const unsigned flags = DrawFlags() & ~unsigned(dtEndEllipsis | dtPathEllipsis);
    const QSize extent = TextExtent(DisplayText(), flags, text.Width());
    int w = extent.width(), h = extent.height();
    if (rotation_ != TRotation::roNone && angle_ != 0) {
        const double rad = angle_ * M_PI / 180;
        const double c = std::abs(std::cos(rad)), s = std::abs(std::sin(rad));
        const int rw = int(std::ceil(w * c + h * s)), rh = int(std::ceil(w * s + h * c));
        w = rw;
        h = rh;
    } else if (textStyle_ == TTextStyle::tsShadow) {
        w += shadowDepth_;
        h += shadowDepth_;
    }
    w += width() - text.Width();
    h += height() - text.Height();
    if (w == width() && h == height()) return;
    if (alignment_ == TAlignment::taRightJustify) setGeometry(x() + width() - w, y(), w, h);
    else resize(w, h);
}

// ---- painting ---------------------------------------------------------------------------

void TFrLabel::paintEvent(QPaintEvent*) {
    Canvas c(this);
    const TFrameFill fill = transparent_ ? TFrameFill::Transparent : TFrameFill::Opaque;
    const TColor own = ParentColor() ? ParentColorValue() : Color();
    const TRect inside = DrawInnerOuterBorders(c, TRect{0, 0, width(), height()}, Border(), own, ParentColorValue(), fill);
    if (!transparent_) c.FillRect(inside, own);
    c.SetBrushStyle(TBrushStyle::bsClear);
    c.SetBackMode(TBackgroundMode::Transparent);
    c.SetFont(font());

    const TRect base = TextRect();
    unsigned flags = DrawFlags();
    const QString text = CondensedText(c, base);
    if (flags & dtPathEllipsis) flags &= ~unsigned(dtPathEllipsis);

    if (rotation_ != TRotation::roNone && angle_ != 0) {
        // Turn the painter about the chosen point of the label and lay the
        // text's box out so that the same point of the box sits there.
        const QSize size = TextExtent(text, flags, base.Width());
        const TRect extent{0, 0, size.width(), size.height()};
        const int col = int(centerPoint_) % 3, row = int(centerPoint_) / 3;
        const double px = base.left + base.Width() * col / 2.0, py = base.top + base.Height() * row / 2.0;
        const double bx = extent.Width() * col / 2.0, by = extent.Height() * row / 2.0;
        QPainter& p = c.Painter();
        p.save();
        p.translate(px, py);
        p.rotate(-angle_);
        const TRect box{int(-bx), int(-by), int(-bx) + extent.Width(), int(-by) + extent.Height()};
        for (const TLabelPass& pass : Passes()) {
            c.SetFontColor(pass.color);
            DrawLabelText(c, text, box.Offset(pass.dx, pass.dy), flags);
        }
        p.restore();
        return;
    }
    for (const TLabelPass& pass : Passes()) DrawTextPass(c, text, base, pass, flags);
}

const PropertyTable& TFrLabel::StaticProperties() {
    static PropertyTable table = [] {
        using L = TFrLabel;
        PropertyTable t(&TFrBorder::StaticProperties());
        PropertyBuilder<L>(t)
            .Enum<TFrameStyle>("BorderOuter", kFrameStyleNames, [](const L& l) { return l.BorderOuter(); },
                               [](L& l, TFrameStyle s) { l.SetBorderOuter(s); }, TFrameStyle::fsNone)
            .Int("Angle", [](const L& l) { return l.Angle(); }, [](L& l, int v) { l.SetAngle(v); }, 0)
            .Bool("Blinking", [](const L& l) { return l.Blinking(); }, [](L& l, bool v) { l.SetBlinking(v); }, false)
            .Color("BlinkColor", [](const L& l) { return l.BlinkColor(); }, [](L& l, TColor v) { l.SetBlinkColor(v); }, clHighlight)
            .Int("BlinkIntervalOff", [](const L& l) { return l.BlinkIntervalOff(); },
                 [](L& l, int v) { l.SetBlinkIntervalOff(v); }, 500)
            .Int("BlinkIntervalOn", [](const L& l) { return l.BlinkIntervalOn(); },
                 [](L& l, int v) { l.SetBlinkIntervalOn(v); }, 500)
            .Enum<TCondenseCaption>("CondenseCaption", kCondenseNames, [](const L& l) { return l.CondenseCaption(); },
                                    [](L& l, TCondenseCaption v) { l.SetCondenseCaption(v); }, TCondenseCaption::ccNone)
            .Enum<TCenterPoint>("CenterPoint", kCenterPointNames, [](const L& l) { return l.CenterPoint(); },
                                [](L& l, TCenterPoint v) { l.SetCenterPoint(v); }, TCenterPoint::cpCenter)
            .Color("FlyByColor", [](const L& l) { return l.FlyByColor(); }, [](L& l, TColor v) { l.SetFlyByColor(v); }, clHighlight)
            .Bool("FlyByEnabled", [](const L& l) { return l.FlyByEnabled(); }, [](L& l, bool v) { l.SetFlyByEnabled(v); }, false)
            .Enum<TTextLayout>("Layout", kLayoutNames, [](const L& l) { return l.Layout(); },
                               [](L& l, TTextLayout v) { l.SetLayout(v); }, TTextLayout::tlTop)
            .Bool("LightTextStyle", [](const L& l) { return l.LightTextStyle(); },
                  [](L& l, bool v) { l.SetLightTextStyle(v); }, false)
            .Enum<TRotation>("Rotation", kRotationNames, [](const L& l) { return l.Rotation(); },
                             [](L& l, TRotation v) { l.SetRotation(v); }, TRotation::roNone)
            .Color("HighlightColor", [](const L& l) { return l.HighlightColor(); },
                   [](L& l, TColor v) { l.SetHighlightColor(v); }, clBtnHighlight)
            .Color("ShadowColor", [](const L& l) { return l.ShadowColor(); }, [](L& l, TColor v) { l.SetShadowColor(v); }, clBtnShadow)
            .Int("ShadowDepth", [](const L& l) { return l.ShadowDepth(); }, [](L& l, int v) { l.SetShadowDepth(v); }, 2)
            .Enum<TTextStyle>("TextStyle", kTextStyleNames, [](const L& l) { return l.TextStyle(); },
                              [](L& l, TTextStyle v) { l.SetTextStyle(v); }, TTextStyle::tsNormal)
            .Enum<TAlignment>("Alignment", kAlignmentNames, [](const L& l) { return l.Alignment(); },
                              [](L& l, TAlignment a) { l.SetAlignment(a); }, TAlignment::taLeftJustify)
            .Bool("Transparent", [](const L& l) { return l.Transparent(); }, [](L& l, bool v) { l.SetTransparent(v); }, false)
            .Bool("AutoSize", [](const L& l) { return l.AutoSize(); }, [](L& l, bool v) { l.SetAutoSize(v); }, true)
            .Bool("WordWrap", [](const L& l) { return l.WordWrap(); }, [](L& l, bool v) { l.SetWordWrap(v); }, false)
            .Bool("ShowAccelChar", [](const L& l) { return l.ShowAccelChar(); },
                  [](L& l, bool v) { l.SetShowAccelChar(v); }, true)
            .Ignored("FrameController");
        // Older versions stored the side set of the frame as a list; dropped.
        t.Add(PropertyInfo{QStringLiteral("FrameSides"), PropertyInfo::Type::Value, nullptr,
                           [](TComponent&, const PropValue&) {}, std::nullopt, nullptr, nullptr});
        return t;
    }();
    return table;
}

// ---- blinking ---------------------------------------------------------------------------

TBlinkService::TBlinkService() : timer_(new QTimer), clock_(new QElapsedTimer) {
    clock_->start();
    timer_->setInterval(50);
    QObject::connect(timer_, &QTimer::timeout, [this] { Tick(Now()); });
}

TBlinkService::~TBlinkService() {
    delete timer_;
    delete clock_;
}

TBlinkService* TBlinkService::Existing() { return gBlink; }

TBlinkService* TBlinkService::Acquire() {
    if (!gBlink) gBlink = new TBlinkService;
    return gBlink;
}

qint64 TBlinkService::Now() const { return clock_->elapsed(); }

void TBlinkService::Register(TFrLabel* l) { labels_.push_back({l, 0}); }

void TBlinkService::Unregister(TFrLabel* l) {
    labels_.erase(std::remove_if(labels_.begin(), labels_.end(), [l](const Entry& e) { return e.label == l; }), labels_.end());
    if (labels_.empty()) {
        gBlink = nullptr;
        delete this;
        return;
    }
    UpdateTimer();
}

void TBlinkService::BlinkingChanged(TFrLabel* l) {
    for (Entry& e : labels_)
        if (e.label == l) e.due = Now() + l->BlinkIntervalOff();
    UpdateTimer();
}

void TBlinkService::Tick(qint64 nowMs) {
    for (Entry& e : labels_) {
        if (!e.label->Blinking() || nowMs < e.due) continue;
        e.label->SwitchBlinkPhase();
        e.due = nowMs + (e.label->BlinkPhaseOn() ? e.label->BlinkIntervalOn() : e.label->BlinkIntervalOff());
    }
}

void TBlinkService::UpdateTimer() {
    const bool any = std::any_of(labels_.begin(), labels_.end(), [](const Entry& e) { return e.label->Blinking(); });
    if (any && !timer_->isActive()) timer_->start();
    else if (!any) timer_->stop();
}
