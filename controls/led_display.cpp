#include "led_display.h"

#include "application.h"
#include "gbk.h"

#include <QImage>
#include <QResizeEvent>
#include <algorithm>

namespace {
const EnumNames<TFrScrollType> kScrollTypeNames{{"stNone", "stRightToLeft", "stLeftToRight"}};

// Codes 0x20 to 0x7F; 0x7F is the block shown for every byte without a glyph.
constexpr TLEDGlyph kGlyphs[96] = {
    {0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0xFA, 0x00, 0x00}, {0x00, 0xC0, 0x00, 0xC0, 0x00}, {0x28, 0x7C, 0x28, 0x7C, 0x28},
    {0x24, 0x54, 0xFE, 0x54, 0x48}, {0x64, 0x68, 0x10, 0x2C, 0x4C}, {0x6C, 0x92, 0xAA, 0x44, 0x0A}, {0x00, 0x20, 0xC0, 0x00, 0x00},
    {0x00, 0x00, 0x7C, 0x82, 0x00}, {0x00, 0x82, 0x7C, 0x00, 0x00}, {0x54, 0x38, 0xFE, 0x38, 0x54}, {0x10, 0x10, 0x7C, 0x10, 0x10},
    {0x00, 0x02, 0x04, 0x00, 0x00}, {0x10, 0x10, 0x10, 0x10, 0x10}, {0x00, 0x00, 0x02, 0x00, 0x00}, {0x04, 0x08, 0x10, 0x20, 0x40},
    {0x7C, 0x8A, 0x92, 0xA2, 0x7C}, {0x00, 0x42, 0xFE, 0x02, 0x00}, {0x46, 0x8A, 0x92, 0x92, 0x62}, {0x44, 0x92, 0x92, 0x92, 0x6C},
    {0xF0, 0x10, 0x10, 0x10, 0xFE}, {0xF4, 0x92, 0x92, 0x92, 0x8C}, {0x7C, 0x92, 0x92, 0x92, 0x4C}, {0xC0, 0x80, 0x8E, 0x90, 0xE0},
    {0x6C, 0x92, 0x92, 0x92, 0x6C}, {0x64, 0x92, 0x92, 0x92, 0x7C}, {0x00, 0x00, 0x24, 0x00, 0x00}, {0x00, 0x02, 0x24, 0x00, 0x00},
    {0x10, 0x28, 0x44, 0x82, 0x00}, {0x28, 0x28, 0x28, 0x28, 0x28}, {0x00, 0x82, 0x44, 0x28, 0x10}, {0x40, 0x80, 0x9A, 0x90, 0x60},
    {0x7C, 0x92, 0xAA, 0xBA, 0x70}, {0x7E, 0x90, 0x90, 0x90, 0x7E}, {0xFE, 0x92, 0x92, 0x92, 0x6C}, {0x7C, 0x82, 0x82, 0x82, 0x44},
    {0xFE, 0x82, 0x82, 0x82, 0x7C}, {0xFE, 0x92, 0x92, 0x92, 0x82}, {0xFE, 0x90, 0x90, 0x90, 0x80}, {0x7C, 0x82, 0x92, 0x92, 0x5C},
    {0xFE, 0x10, 0x10, 0x10, 0xFE}, {0x82, 0x82, 0xFE, 0x82, 0x82}, {0x04, 0x02, 0x02, 0x02, 0xFC}, {0xFE, 0x10, 0x28, 0x44, 0x82},
    {0xFE, 0x02, 0x02, 0x02, 0x02}, {0xFE, 0x40, 0x20, 0x40, 0xFE}, {0xFE, 0x20, 0x10, 0x08, 0xFE}, {0x7C, 0x82, 0x82, 0x82, 0x7C},
    {0xFE, 0x90, 0x90, 0x90, 0x60}, {0x7C, 0x82, 0x82, 0x86, 0x7E}, {0xFE, 0x90, 0x90, 0x90, 0x6E}, {0x64, 0x92, 0x92, 0x92, 0x4C},
    {0x80, 0x80, 0xFE, 0x80, 0x80}, {0xFC, 0x02, 0x02, 0x02, 0xFC}, {0xE0, 0x18, 0x06, 0x18, 0xE0}, {0xFC, 0x02, 0x0C, 0x02, 0xFC},
    {0xC6, 0x28, 0x10, 0x28, 0xC6}, {0xC0, 0x20, 0x1E, 0x20, 0xC0}, {0x86, 0x8A, 0x92, 0xA2, 0xC2}, {0x00, 0xFE, 0x82, 0x82, 0x00},
    {0x40, 0x20, 0x10, 0x08, 0x04}, {0x00, 0x82, 0x82, 0xFE, 0x00}, {0x20, 0x40, 0x80, 0x40, 0x20}, {0x02, 0x02, 0x02, 0x02, 0x02},
    {0x00, 0x00, 0xC0, 0x20, 0x00}, {0x04, 0x2A, 0x2A, 0x2A, 0x1E}, {0xFE, 0x22, 0x22, 0x22, 0x1C}, {0x1C, 0x22, 0x22, 0x22, 0x14},
    {0x1C, 0x22, 0x22, 0x22, 0xFE}, {0x1C, 0x2A, 0x2A, 0x2A, 0x18}, {0x10, 0x7E, 0x90, 0x90, 0x40}, {0x10, 0x2A, 0x2A, 0x2A, 0x1C},
    {0xFE, 0x20, 0x20, 0x20, 0x1E}, {0x00, 0x22, 0xBE, 0x02, 0x00}, {0x00, 0x02, 0xBC, 0x00, 0x00}, {0xFE, 0x08, 0x08, 0x14, 0x22},
    {0x00, 0x82, 0xFE, 0x02, 0x00}, {0x3E, 0x20, 0x3E, 0x20, 0x1E}, {0x3E, 0x20, 0x20, 0x20, 0x1E}, {0x1C, 0x22, 0x22, 0x22, 0x1C},
    {0x3E, 0x28, 0x28, 0x28, 0x10}, {0x10, 0x28, 0x28, 0x28, 0x3E}, {0x3E, 0x20, 0x20, 0x20, 0x10}, {0x12, 0x2A, 0x2A, 0x2A, 0x24},
    {0x20, 0xFC, 0x22, 0x22, 0x00}, {0x3C, 0x02, 0x02, 0x02, 0x3E}, {0x38, 0x04, 0x02, 0x04, 0x38}, {0x3C, 0x02, 0x0C, 0x02, 0x3C},
    {0x22, 0x14, 0x08, 0x14, 0x22}, {0x22, 0x14, 0x08, 0x10, 0x20}, {0x22, 0x26, 0x2A, 0x32, 0x22}, {0x00, 0x10, 0x6C, 0x82, 0x00},
    {0x00, 0x00, 0xFE, 0x00, 0x00}, {0x00, 0x82, 0x6C, 0x10, 0x00}, {0x40, 0x80, 0x40, 0x20, 0x40}, {0x00, 0x7C, 0x7C, 0x7C, 0x00},
};
}  // namespace

const TLEDGlyph& LEDGlyph(unsigned char code) {
    if (code < 0x20 || code > 0x7E) code = 0x7F;
    return kGlyphs[code - 0x20];
}

TFrLEDDisplay::TFrLEDDisplay(TComponent* owner, QWidget* parent) : TFrBorder(owner, parent), timer_(new QTimer(this)) {
    // Every pixel is painted here, so nothing behind needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetBorderOuter(TFrameStyle::fsStatus);
    resize(100, 30);
    scrollExtent_ = width();
    timer_->setInterval(scrollDelay_);
    connect(timer_, &QTimer::timeout, this, [this] { ScrollTick(); });
    UpdateMetrics();
}

TFrLEDDisplay::~TFrLEDDisplay() { timer_->stop(); }

QString TFrLEDDisplay::Caption() const { return gbk::decode(caption_); }

void TFrLEDDisplay::SetCaption(const QString& c) { SetCaptionBytes(gbk::encode(c)); }

void TFrLEDDisplay::SetCaptionBytes(const QByteArray& bytes) {
    if (bytes == caption_) return;
    caption_ = bytes;
    CaptionChangedNotify();
    repaint();
}

void TFrLEDDisplay::CaptionChangedNotify() {
    UpdateMetrics();
    update();
}

void TFrLEDDisplay::SetBackColor(TColor c) {
    if (c == backColor_) return;
    backColor_ = c;
    repaint();
}

void TFrLEDDisplay::SetSegOnColor(TColor c) {
    if (c == segOnColor_) return;
    segOnColor_ = c;
    repaint();
}

void TFrLEDDisplay::SetSegOffColor(TColor c) {
    if (c == segOffColor_) return;
    segOffColor_ = c;
    repaint();
}

void TFrLEDDisplay::SetScrollType(TFrScrollType t) {
    if (t == scrollType_) return;
    scrollType_ = t;
    // The timer follows the type even while Scrolling is off; painting then
    // ignores the position.
    SetTimerEnabled(t != TFrScrollType::stNone);
    update();
}

void TFrLEDDisplay::SetScrolling(bool v) {
    if (v == scrolling_) return;
    scrolling_ = v;
    SetTimerEnabled(v);
    if (!v) scrollPos_ = 0;
    update();
}

void TFrLEDDisplay::SetScrollDelay(int ms) {
    ms = std::clamp(ms, 0, 0xFFFF);
    if (ms == scrollDelay_) return;
    scrollDelay_ = ms;
    timer_->setInterval(ms);
    SetTimerEnabled(timerEnabled_);
}

void TFrLEDDisplay::SetTimerEnabled(bool on) {
    timerEnabled_ = on;
    // A zero delay stops the marquee rather than ticking as fast as the
    // event loop turns.
    if (on && scrollDelay_ > 0) {
        if (!timer_->isActive()) timer_->start();
    } else {
        timer_->stop();
    }
}

void TFrLEDDisplay::FrameChanged() { UpdateMetrics(); }

void TFrLEDDisplay::resizeEvent(QResizeEvent* e) {
    TFrBorder::resizeEvent(e);
    UpdateMetrics();
}

void TFrLEDDisplay::UpdateMetrics() {
    const int h = ClientRect().Height();
    dotSize_ = std::max(1, int(h / 7.6));
    dotSpacing_ = int(dotSize_ * 0.1);
    scrollExtent_ = int(caption_.size()) * 6 * (dotSize_ + dotSpacing_) + width();
}

void TFrLEDDisplay::ScrollTick() {
    if (!timerEnabled_) return;
    scrollPos_ += dotSize_ + dotSpacing_;
    repaint();
    if (scrollPos_ >= scrollExtent_) {
        scrollPos_ = 0;
        Fire(OnScrollComplete, static_cast<TComponent*>(this));
    }
}

void TFrLEDDisplay::DrawChar(Canvas& c, int cx, int cy, unsigned char code) {
    const TLEDGlyph& glyph = LEDGlyph(code);
    const int pitch = dotSize_ + dotSpacing_;
    for (int r = 0; r < 7; ++r) {
        for (int col = 0; col < 6; ++col) {
            const bool lit = col < 5 && (glyph[col] & (1u << (7 - r)));
            const int x = cx + col * pitch, y = cy + r * pitch;
            c.SetBrushColor(lit ? segOnColor_ : segOffColor_);
            c.Rectangle(x, y, x + dotSize_ + 1, y + dotSize_ + 1);
        }
    }
}

void TFrLEDDisplay::paintEvent(QPaintEvent*) {
    Canvas canvas(this);
    PaintFrame(canvas);
    const TRect client = ClientRect();
    const TRect r{0, 0, client.Width(), client.Height()};
    if (r.IsEmpty() || r.Height() <= 7) return;

    QImage bitmap(r.Width(), r.Height(), QImage::Format_RGB32);
    bitmap.fill(ToQColor(backColor_));
    {
        Canvas c(&bitmap);
        c.SetPen(TPenSpec{backColor_, 1, TPenStyle::psSolid});
        c.SetBrush(TBrushSpec{segOffColor_, TBrushStyle::bsSolid});
        const int pitch = dotSize_ + dotSpacing_;
        const int cellWidth = 6 * pitch;
        const int cellHeight = 7 * dotSize_ + 6 * dotSpacing_;
        const int top = (r.Height() - cellHeight) / 2;
        for (int x = 0; x < r.Width(); x += cellWidth) DrawChar(c, x, top, 0x20);

        int offset = 0;
        if (scrolling_ && scrollType_ == TFrScrollType::stRightToLeft)
            offset = (client.Width() / pitch) * pitch - scrollPos_;
        else if (scrolling_ && scrollType_ == TFrScrollType::stLeftToRight)
            offset = scrollPos_ - int(caption_.size()) * cellWidth;
        int x = offset;
        for (char byte : caption_) {
            // Cells wholly outside the bitmap would only be clipped away.
            if (x + cellWidth > 0 && x < r.Width()) DrawChar(c, x, top, static_cast<unsigned char>(byte));
            x += cellWidth;
        }
    }
    canvas.BitBlt(client.left, client.top, r.Width(), r.Height(), bitmap);
}

const PropertyTable& TFrLEDDisplay::StaticProperties() {
    static PropertyTable table = [] {
        using L = TFrLEDDisplay;
        PropertyTable t(&TFrBorder::StaticProperties());
        // Written by older versions of the control; read and dropped.
        auto discardInt = [](L&, const PropValue& v) { (void)prop::ToInt(v, QStringLiteral("SegSpacing")); };
        PropertyBuilder<L>(t)
            .Enum<TFrameStyle>("BorderOuter", kFrameStyleNames, [](const L& l) { return l.BorderOuter(); },
                               [](L& l, TFrameStyle s) { l.SetBorderOuter(s); }, TFrameStyle::fsStatus)
            .Color("BackColor", [](const L& l) { return l.BackColor(); }, [](L& l, TColor v) { l.SetBackColor(v); }, clBlack)
            .Color("SegOnColor", [](const L& l) { return l.SegOnColor(); }, [](L& l, TColor v) { l.SetSegOnColor(v); }, 0x00FF00)
            .Color("SegOffColor", [](const L& l) { return l.SegOffColor(); }, [](L& l, TColor v) { l.SetSegOffColor(v); }, 0x003300)
            .Enum<TFrScrollType>("ScrollType", kScrollTypeNames, [](const L& l) { return l.ScrollType(); },
                                 [](L& l, TFrScrollType v) { l.SetScrollType(v); }, TFrScrollType::stRightToLeft)
            .Bool("Scrolling", [](const L& l) { return l.Scrolling(); }, [](L& l, bool v) { l.SetScrolling(v); }, false)
            .Int("ScrollDelay", [](const L& l) { return l.ScrollDelay(); }, [](L& l, int v) { l.SetScrollDelay(v); }, 100)
            .Event<TNotifyEvent>("OnScrollComplete", [](L& l, const TNotifyEvent& h) { l.OnScrollComplete = h; })
            .Add("SegSpacing", nullptr, discardInt, std::nullopt)
            .Add("DisplayCells", nullptr, [](L&, const PropValue& v) { (void)prop::ToInt(v, QStringLiteral("DisplayCells")); },
                 std::nullopt);
        return t;
    }();
    return table;
}
