#include "date_time_picker.h"

#include "application.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QTextCharFormat>
#include <cmath>

namespace {
const EnumNames<TDateTimeKind> kKindNames{{"dtkDate", "dtkTime"}};
const EnumNames<TDTDateMode> kDateModeNames{{"dmComboBox", "dmUpDown"}};
const EnumNames<TCalDayOfWeek> kDayOfWeekNames{{"dowMonday", "dowTuesday", "dowWednesday", "dowThursday", "dowFriday",
                                                "dowSaturday", "dowSunday", "dowLocaleDefault"}};
const QDate kEpoch(1899, 12, 30);
}  // namespace

double DateTimeToSerial(const QDateTime& dt) {
    const double days = double(kEpoch.daysTo(dt.date()));
    const double frac = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days + frac;
}

QDateTime SerialToDateTime(double value) {
    if (!std::isfinite(value)) value = 0;
    const double days = std::floor(value);
    const double frac = value - days;
    // Shown to the millisecond, so 8:17 stored as 8:16:59.99999 reads 8:17.
    const qint64 ms = std::llround(frac * 86400000.0);
    return QDateTime(kEpoch.addDays(qint64(days) + ms / 86400000), QTime(0, 0).addMSecs(int(ms % 86400000)));
}

// ---- calendar colours -----------------------------------------------------------------

void TFrMonthCalColors::SetColor(Index i, TColor c) {
    if (colors_[i] == c) return;
    colors_[i] = c;
    if (owner_) owner_->ApplyCalColors();
}

void TFrMonthCalColors::Assign(const TFrMonthCalColors& other) {
    colors_ = other.colors_;
    if (owner_) owner_->ApplyCalColors();
}

// ---- picker ------------------------------------------------------------------------------

TFrDateTimePicker::TFrDateTimePicker(TComponent* owner, QWidget* parent)
    : QDateTimeEdit(parent), TControl(owner, this), frame_(*this, *this) {
    SetColor(clWindow);
    value_ = QDateTime::currentDateTime();
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& dt) {
        if (!showing_) UserChanged(dt);
    });
    Recreate();
    resize(186, 21);
}

TFrDateTimePicker::~TFrDateTimePicker() { frame_.SetController(nullptr); }

void TFrDateTimePicker::SetKind(TDateTimeKind k) {
    if (k == kind_) return;
    kind_ = k;
    Recreate();
}

void TFrDateTimePicker::SetDateMode(TDTDateMode m) {
    if (m == dateMode_) return;
    dateMode_ = m;
    Recreate();
}

void TFrDateTimePicker::SetFormat(const QString& f) {
    format_ = f;
    if (f.isEmpty()) ApplyDefaultFormat();
    else {
        showing_ = true;
        setDisplayFormat(f);
        showing_ = false;
    }
    ShowValue();
}

void TFrDateTimePicker::ApplyDefaultFormat() {
    const QString display = kind_ == TDateTimeKind::dtkDate ? QLocale().dateFormat(QLocale::ShortFormat)
                                                           : QLocale().timeFormat(QLocale::ShortFormat);
    showing_ = true;
    setDisplayFormat(display);
    // A time picker and an up-down date picker show arrows, not a calendar.
    setCalendarPopup(kind_ == TDateTimeKind::dtkDate && dateMode_ == TDTDateMode::dmComboBox);
    showing_ = false;
}

void TFrDateTimePicker::Recreate() {
    const QString saved = format_;
    ApplyDefaultFormat();
    ApplyCalColors();
    if (!saved.isEmpty()) SetFormat(saved);
    ShowValue();
    update();
}

void TFrDateTimePicker::ShowValue() {
    showing_ = true;
    setDateTime(value_);
    showing_ = false;
}

void TFrDateTimePicker::UserChanged(const QDateTime& shown) {
    if (kind_ == TDateTimeKind::dtkDate) value_ = QDateTime(shown.date(), value_.time());
    else value_ = QDateTime(value_.date(), shown.time());
    Fire(OnChange, static_cast<TComponent*>(this));
}

void TFrDateTimePicker::SetDate(const QDate& d) {
    value_ = QDateTime(d, value_.time());
    ShowValue();
}

void TFrDateTimePicker::SetTime(const QTime& t) {
    value_ = QDateTime(value_.date(), t);
    ShowValue();
}

void TFrDateTimePicker::SetDateTimeValue(double v) {
    value_ = SerialToDateTime(v);
    ShowValue();
}

void TFrDateTimePicker::SetFlatButtonColor(TColor c) {
    if (c == flatButtonColor_) return;
    flatButtonColor_ = c;
    update();
}

void TFrDateTimePicker::SetFlatButtons(bool v) {
    if (v == flatButtons_) return;
    flatButtons_ = v;
    update();
}

QCalendarWidget* TFrDateTimePicker::Calendar() const {
    // Null for a time picker or an up-down date picker. Made on first use:
    // a calendar costs more to build than the rest of the picker.
    if (!calendarPopup()) return nullptr;
    if (!calendar_) {
        auto* self = const_cast<TFrDateTimePicker*>(this);
        self->calendar_ = calendarWidget();
        if (!calendar_) return nullptr;
        calendar_->installEventFilter(self);
        self->ApplyCalColors();
    }
    return calendar_;
}

QCalendarWidget* TFrDateTimePicker::MadeCalendar() const { return calendarPopup() ? calendar_.data() : nullptr; }

void TFrDateTimePicker::mousePressEvent(QMouseEvent* e) {
    Calendar();  // the press may drop it down
    QDateTimeEdit::mousePressEvent(e);
}

void TFrDateTimePicker::ApplyCalColors() {
    QCalendarWidget* cal = MadeCalendar();
    if (!cal) return;
    auto col = [this](TFrMonthCalColors::Index i) { return ToQColor(calColors_.Color(i)); };
    QPalette pal = cal->palette();
    pal.setColor(QPalette::Window, col(TFrMonthCalColors::BackColor));
    pal.setColor(QPalette::Base, col(TFrMonthCalColors::MonthBackColor));
    pal.setColor(QPalette::AlternateBase, col(TFrMonthCalColors::MonthBackColor));
    pal.setColor(QPalette::Text, col(TFrMonthCalColors::TextColor));
    pal.setColor(QPalette::WindowText, col(TFrMonthCalColors::TextColor));
    // Days of the neighbouring months are drawn in the disabled text colour.
    pal.setColor(QPalette::Disabled, QPalette::Text, col(TFrMonthCalColors::TrailingTextColor));
    cal->setPalette(pal);
    if (QWidget* title = cal->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"))) {
        QPalette tp = title->palette();
        tp.setColor(QPalette::Window, col(TFrMonthCalColors::TitleBackColor));
        tp.setColor(QPalette::Button, col(TFrMonthCalColors::TitleBackColor));
        tp.setColor(QPalette::WindowText, col(TFrMonthCalColors::TitleTextColor));
        tp.setColor(QPalette::ButtonText, col(TFrMonthCalColors::TitleTextColor));
        title->setAutoFillBackground(true);
        title->setPalette(tp);
    }
}

Qt::DayOfWeek TFrDateTimePicker::EffectiveFirstDayOfWeek() const {
    if (firstDayOfWeek_ == TCalDayOfWeek::dowLocaleDefault) return locale().firstDayOfWeek();
    return Qt::DayOfWeek(int(firstDayOfWeek_) + 1);
}

QSize TFrDateTimePicker::PrepareDropDown() {
    QCalendarWidget* cal = Calendar();
    if (!cal) return {};
    cal->setFirstDayOfWeek(EffectiveFirstDayOfWeek());
    QTextCharFormat today;
    if (showTodayCircle_) {
        today.setFontWeight(QFont::Bold);
        today.setFontUnderline(true);
    }
    cal->setDateTextFormat(QDate::currentDate(), today);
    cal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    const QSize base = cal->sizeHint();
    int w = base.width() + 4;
    if (showWeekNumbers_) {
        w += QFontMetrics(font()).horizontalAdvance(QStringLiteral(" 33   "));
        cal->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    }
    const QSize size(dropColumns_ * w, dropRows_ * base.height());
    cal->window()->resize(size);
    return size;
}

bool TFrDateTimePicker::eventFilter(QObject* o, QEvent* e) {
    QCalendarWidget* cal = MadeCalendar();
    if (cal && e->type() == QEvent::Show && o == cal) PrepareDropDown();
    if (cal && (e->type() == QEvent::Show || e->type() == QEvent::Hide) && o == cal) update();
    return QDateTimeEdit::eventFilter(o, e);
}

bool TFrDateTimePicker::Dropped() const {
    QCalendarWidget* cal = MadeCalendar();
    return cal && cal->isVisible();
}

bool TFrDateTimePicker::HostFocused() const { return TCustomFrame::FocusWithin(this); }

void TFrDateTimePicker::paintEvent(QPaintEvent* e) {
    QDateTimeEdit::paintEvent(e);
    if (!frame_.InUse()) return;
    Canvas c(this);
    frame_.Paint(c, width(), height(), Color(), TFrameColoring::FromControlColor);
    if (flatButtons_ && !Dropped()) PaintFlatButton(c);
}

void TFrDateTimePicker::PaintFlatButton(Canvas& c) {
    const int bw = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
    const TRect button{width() - 2 - bw, 2, width() - 2, height() - 2};
    c.FillRect(button, flatButtonColor_);
    const int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
    const TColor ink = isEnabled() ? clBlack : clBtnShadow;
    // Rows of 10, 8, 6, 4, 2 pixels: the apex row sits on the centre.
    for (int k = 0; k < 5; ++k) c.FillRect(TRect{cx - 5 + k, cy - 4 + k, cx + 5 - k, cy - 3 + k}, ink);
    if (HostFocused() || frame_.MouseOver()) {
        const bool sunken = Dropped();
        if (flatButtonColor_ == clBtnFace)
            DrawSides(c, button, sunken ? clBtnShadow : clBtnHighlight, sunken ? clBtnHighlight : clBtnShadow, sdAll);
        else
            DrawColorBorder(c, button, flatButtonColor_, sdAll, sunken ? TFrameStyle::fsStatus : TFrameStyle::fsPopup);
    }
}

bool TFrDateTimePicker::event(QEvent* e) {
    const bool handled = QDateTimeEdit::event(e);
    frame_.Observe(e);
    switch (e->type()) {
    case QEvent::FocusIn: case QEvent::FocusOut: case QEvent::Enter: case QEvent::Leave:
        update();  // the flat button shows focus and hover
        break;
    default: break;
    }
    return handled;
}

void TFrDateTimePicker::ColorChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    setPalette(pal);
    frame_.ColorChanged();
}

void TFrDateTimePicker::FontChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Text, ToQColor(Font().color));
    setPalette(pal);
}

void TFrDateTimePicker::Loaded() {
    TControl::Loaded();
    frame_.Loaded();
}

void TFrDateTimePicker::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        QWidget::focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        return;
    }
    Calendar();  // F4 or Alt+Down may drop it down
    QDateTimeEdit::keyPressEvent(e);
}

const PropertyTable& TFrDateTimePicker::StaticProperties() {
    static PropertyTable table = [] {
        using P = TFrDateTimePicker;
        using I = TFrMonthCalColors::Index;
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<P> b(t);
        auto calColor = [&b](const char* name, I index, TColor def) {
            b.Color(QStringLiteral("CalColors.") + QLatin1String(name),
                    [index](const P& p) { return p.CalColors().Color(index); },
                    [index](P& p, TColor v) { p.CalColors().SetColor(index, v); }, def);
        };
        calColor("BackColor", I::BackColor, clWindow);
        calColor("TextColor", I::TextColor, clWindowText);
        calColor("TitleBackColor", I::TitleBackColor, clActiveCaption);
        calColor("TitleTextColor", I::TitleTextColor, clCaptionText);
        calColor("MonthBackColor", I::MonthBackColor, clWindow);
        calColor("TrailingTextColor", I::TrailingTextColor, 0x808080);
        b.Color("Color", [](const P& p) { return p.Color(); }, [](P& p, TColor v) { p.SetColor(v); }, clWindow)
            .Int("DropColumns", [](const P& p) { return p.DropColumns(); }, [](P& p, int v) { p.SetDropColumns(v); }, 1)
            .Int("DropRows", [](const P& p) { return p.DropRows(); }, [](P& p, int v) { p.SetDropRows(v); }, 1)
            .Color("FlatButtonColor", [](const P& p) { return p.FlatButtonColor(); },
                   [](P& p, TColor v) { p.SetFlatButtonColor(v); }, clBtnFace)
            .Bool("FlatButtons", [](const P& p) { return p.FlatButtons(); }, [](P& p, bool v) { p.SetFlatButtons(v); }, false)
            .Enum<TDateTimeKind>("Kind", kKindNames, [](const P& p) { return p.Kind(); },
                                 [](P& p, TDateTimeKind k) { p.SetKind(k); }, TDateTimeKind::dtkDate)
            .Enum<TDTDateMode>("DateMode", kDateModeNames, [](const P& p) { return p.DateMode(); },
                               [](P& p, TDTDateMode m) { p.SetDateMode(m); }, TDTDateMode::dmComboBox)
            .Str("Format", [](const P& p) { return p.Format(); }, [](P& p, const QString& f) { p.SetFormat(f); }, QString())
            .Float("Date", [](const P& p) { return p.DateTimeValue(); }, [](P& p, double v) { p.SetDateTimeValue(v); })
            .Float("Time", [](const P& p) { return p.DateTimeValue(); }, [](P& p, double v) { p.SetDateTimeValue(v); })
            .Bool("ShowToday", [](const P& p) { return p.ShowToday(); }, [](P& p, bool v) { p.SetShowToday(v); }, false)
            .Bool("ShowTodayCircle", [](const P& p) { return p.ShowTodayCircle(); },
                  [](P& p, bool v) { p.SetShowTodayCircle(v); }, false)
            .Bool("ShowWeekNumbers", [](const P& p) { return p.ShowWeekNumbers(); },
                  [](P& p, bool v) { p.SetShowWeekNumbers(v); }, false)
            .Enum<TCalDayOfWeek>("FirstDayOfWeek", kDayOfWeekNames, [](const P& p) { return p.FirstDayOfWeek(); },
                                 [](P& p, TCalDayOfWeek d) { p.SetFirstDayOfWeek(d); }, TCalDayOfWeek::dowLocaleDefault)
            .Event<TNotifyEvent>("OnChange", [](P& p, const TNotifyEvent& h) { p.OnChange = h; });
        AddCustomFrameProperties(b);
        AddLegacyFrameProperties(b);
        return t;
    }();
    return table;
}
