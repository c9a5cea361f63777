#pragma once
// The date and time pickers of the information tab: a date/time edit with a
// display format kept across re-creation, a drop-down month calendar with its
// own colours and options, an optional custom frame with flat buttons, and
// colour switching.
#include "control.h"
#include "custom_frame.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QPointer>
#include <array>

class QCalendarWidget;

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };
enum class TCalDayOfWeek { dowMonday, dowTuesday, dowWednesday, dowThursday, dowFriday, dowSaturday, dowSunday,
                           dowLocaleDefault };

// Days since 1899-12-30 with the time of day as the fraction.
double DateTimeToSerial(const QDateTime& dt);
QDateTime SerialToDateTime(double value);

class TFrDateTimePicker;

// The six colours of the drop-down calendar, in the calendar's index order.
class TFrMonthCalColors {
public:
    enum Index { BackColor, TextColor, TitleBackColor, TitleTextColor, MonthBackColor, TrailingTextColor };
    explicit TFrMonthCalColors(TFrDateTimePicker* owner) : owner_(owner) {}
    TColor Color(Index i) const { return colors_[i]; }
    void SetColor(Index i, TColor c);
    // Copies all six colours.
    void Assign(const TFrMonthCalColors& other);
private:
    TFrDateTimePicker* owner_;
    std::array<TColor, 6> colors_{clWindow, clWindowText, clActiveCaption, clCaptionText, clWindow, 0x808080};
};

class TFrDateTimePicker : public QDateTimeEdit, public TControl, public TFrameHost {
    Q_OBJECT
public:
    TFrDateTimePicker(TComponent* owner, QWidget* parent);
    ~TFrDateTimePicker() override;
    QString ClassName() const override { return QStringLiteral("TFrDateTimePicker"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind k);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode m);
    // A display format in the picker's notation ("H:mm"); empty for the
    // locale's short date or time.
    const QString& Format() const { return format_; }
    void SetFormat(const QString& f);
    // What the edit shows now, e.g. "8:05".
    QString DisplayText() const { return text(); }

    // The value: a date picker's edits change only its date part, a time
    // picker's only its time of day.
    QDate Date() const { return value_.date(); }
    void SetDate(const QDate& d);
    QTime Time() const { return value_.time(); }
    void SetTime(const QTime& t);
    QDateTime DateTime() const { return value_; }
    double DateTimeValue() const { return DateTimeToSerial(value_); }
    void SetDateTimeValue(double v);

    TFrMonthCalColors& CalColors() { return calColors_; }
    const TFrMonthCalColors& CalColors() const { return calColors_; }
    int DropColumns() const { return dropColumns_; }
    void SetDropColumns(int v) { dropColumns_ = qBound(1, v, 255); }
    int DropRows() const { return dropRows_; }
    void SetDropRows(int v) { dropRows_ = qBound(1, v, 255); }
    bool ShowToday() const { return showToday_; }
    void SetShowToday(bool v) { showToday_ = v; }
    bool ShowTodayCircle() const { return showTodayCircle_; }
    void SetShowTodayCircle(bool v) { showTodayCircle_ = v; }
    bool ShowWeekNumbers() const { return showWeekNumbers_; }
    void SetShowWeekNumbers(bool v) { showWeekNumbers_ = v; }
    TCalDayOfWeek FirstDayOfWeek() const { return firstDayOfWeek_; }
    void SetFirstDayOfWeek(TCalDayOfWeek d) { firstDayOfWeek_ = d; }
    Qt::DayOfWeek EffectiveFirstDayOfWeek() const;
    TColor FlatButtonColor() const { return flatButtonColor_; }
    void SetFlatButtonColor(TColor c);
    bool FlatButtons() const { return flatButtons_; }
    void SetFlatButtons(bool v);

    TCustomFrame& Frame() { return frame_; }
    const TCustomFrame& Frame() const { return frame_; }

    // Builds the window's state again (a change of kind or mode needs it):
    // the default format, then the calendar colours, then the saved format.
    void Recreate();
    // Prepares the drop-down calendar as it opens and returns its size.
    QSize PrepareDropDown();
    QCalendarWidget* Calendar() const;
    void ApplyCalColors();

    void Loaded() override;

    TNotifyEvent OnChange;

    // TFrameHost
    void RepaintFrame() override { repaint(); }
    void FrameVisibilityChanged() override { Recreate(); }
    bool HostFocused() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    // Tab leaves the picker instead of stepping through its fields.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void ColorChanged() override;
    void FontChanged() override;

private:
    void ApplyDefaultFormat();
    void ShowValue();
    void UserChanged(const QDateTime& shown);
    void PaintFlatButton(Canvas& c);
    bool Dropped() const;
    // The calendar when it has been made, else null (never makes it).
    QCalendarWidget* MadeCalendar() const;

    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
    QString format_;
    QDateTime value_;
    bool showing_ = false;
    QPointer<QCalendarWidget> calendar_;
    TFrMonthCalColors calColors_{this};
    int dropColumns_ = 1, dropRows_ = 1;
    bool showToday_ = false, showTodayCircle_ = false, showWeekNumbers_ = false;
    TCalDayOfWeek firstDayOfWeek_ = TCalDayOfWeek::dowLocaleDefault;
    TColor flatButtonColor_ = clBtnFace;
    bool flatButtons_ = false;
    TCustomFrame frame_;
};
