#pragma once
// A dot-matrix LED panel: each character a cell of 6 x 7 square dots, lit in
// SegOnColor, unlit in SegOffColor, on BackColor. The score tab's counter.
#include "framed_border.h"

#include <QByteArray>
#include <QTimer>
#include <array>
#include <cstdint>

enum class TFrScrollType { stNone, stRightToLeft, stLeftToRight };

// Five dot columns per character code, left to right; bit 7 is the top row,
// bit 1 the bottom row. Codes 0x20..0x7F.
using TLEDGlyph = std::array<std::uint8_t, 5>;
const TLEDGlyph& LEDGlyph(unsigned char code);  // any code outside 0x20..0x7E gives the 0x7F block

class TFrLEDDisplay : public TFrBorder {
    Q_OBJECT
public:
    TFrLEDDisplay(TComponent* owner, QWidget* parent);
    ~TFrLEDDisplay() override;
    QString ClassName() const override { return QStringLiteral("TFrLEDDisplay"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // The caption is 8-bit GBK text; each byte is one cell.
    QString Caption() const override;
    void SetCaption(const QString& c) override;
    const QByteArray& CaptionBytes() const { return caption_; }
    void SetCaptionBytes(const QByteArray& bytes);

    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c);
    TColor SegOnColor() const { return segOnColor_; }
    void SetSegOnColor(TColor c);
    TColor SegOffColor() const { return segOffColor_; }
    void SetSegOffColor(TColor c);
    TFrScrollType ScrollType() const { return scrollType_; }
    void SetScrollType(TFrScrollType t);
    bool Scrolling() const { return scrolling_; }
    void SetScrolling(bool v);
    int ScrollDelay() const { return scrollDelay_; }
    void SetScrollDelay(int ms);

    int DotSize() const { return dotSize_; }
    int DotSpacing() const { return dotSpacing_; }
    int ScrollExtent() const { return scrollExtent_; }
    int ScrollPosition() const { return scrollPos_; }
    bool TimerEnabled() const { return timerEnabled_; }
    bool TimerRunning() const { return timer_->isActive(); }

    // One marquee step, as the timer runs it.
    void ScrollTick();

    TNotifyEvent OnScrollComplete;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    TColor FrameControlColor() const override { return backColor_; }
    void FrameChanged() override;

private:
    void UpdateMetrics();
    void SetTimerEnabled(bool on);
    void CaptionChangedNotify();
    void DrawChar(Canvas& c, int cx, int cy, unsigned char code);

    QByteArray caption_;
    TColor backColor_ = clBlack;
    TColor segOnColor_ = 0x00FF00;
    TColor segOffColor_ = 0x003300;
    TFrScrollType scrollType_ = TFrScrollType::stRightToLeft;
    bool scrolling_ = false;
    int scrollDelay_ = 100;
    int dotSize_ = 2;
    int dotSpacing_ = 0;
    int scrollExtent_ = 0;
    int scrollPos_ = 0;
    bool timerEnabled_ = false;
    QTimer* timer_;
};
