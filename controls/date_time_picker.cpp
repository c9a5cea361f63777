#include "date_time_picker.h"

#include "application.h"

#include <QLocale>
#include <cmath>

namespace {
const EnumNames<TDateTimeKind> kKindNames{{"dtkDate", "dtkTime"}};
const EnumNames<TDTDateMode> kDateModeNames{{"dmComboBox", "dmUpDown"}};
const QDate kEpoch(1899, 12, 30);
}

double QDateTimeToDelphi(const QDateTime& dt) {
    const double days = double(kEpoch.daysTo(dt.date()));
    const double frac = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days + frac;
}

QDateTime DelphiToQDateTime(double value) {
    const double days = std::floor(value);
    const double frac = value - days;
    QTime t = QTime(0, 0).addMSecs(int(std::llround(frac * 86400000.0) % 86400000));
    return QDateTime(kEpoch.addDays(qint64(days)), t);
}

TFrDateTimePicker::TFrDateTimePicker(TComponent* owner, QWidget* parent) : QDateTimeEdit(parent), TControl(owner, this) {
    SetColor(clWindow);
    setDateTime(QDateTime::currentDateTime());
    setCalendarPopup(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    ApplyFormat();
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { Fire(OnChange, static_cast<TComponent*>(this)); });
    resize(186, 21);
}

void TFrDateTimePicker::SetKind(TDateTimeKind k) {
    if (k == kind_) return;
    kind_ = k;
    ApplyFormat();
}

void TFrDateTimePicker::SetDateMode(TDTDateMode m) {
    if (m == dateMode_) return;
    dateMode_ = m;
    ApplyFormat();
}

void TFrDateTimePicker::SetFormat(const QString& f) {
    if (f == format_) return;
    format_ = f;
    ApplyFormat();
}

void TFrDateTimePicker::ApplyFormat() {
    QString display = format_;
    if (display.isEmpty())
        display = kind_ == TDateTimeKind::dtkDate ? QLocale().dateFormat(QLocale::ShortFormat)
                                                  : QLocale().timeFormat(QLocale::ShortFormat);
    setDisplayFormat(display);
    // A time picker and an up-down date picker show arrows, not a calendar.
    setCalendarPopup(kind_ == TDateTimeKind::dtkDate && dateMode_ == TDTDateMode::dmComboBox);
}

const PropertyTable& TFrDateTimePicker::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<TFrDateTimePicker>(t)
            .Enum<TDateTimeKind>("Kind", kKindNames, [](const TFrDateTimePicker& p) { return p.Kind(); },
                                 [](TFrDateTimePicker& p, TDateTimeKind k) { p.SetKind(k); }, TDateTimeKind::dtkDate)
            .Enum<TDTDateMode>("DateMode", kDateModeNames, [](const TFrDateTimePicker& p) { return p.DateMode(); },
                               [](TFrDateTimePicker& p, TDTDateMode m) { p.SetDateMode(m); }, TDTDateMode::dmComboBox)
            .Str("Format", [](const TFrDateTimePicker& p) { return p.Format(); },
                 [](TFrDateTimePicker& p, const QString& f) { p.SetFormat(f); }, QString())
            .Float("Date", [](const TFrDateTimePicker& p) { return std::floor(p.DateTimeValue()); },
                   [](TFrDateTimePicker& p, double v) { p.SetDate(DelphiToQDateTime(v).date()); })
            .Float("Time", [](const TFrDateTimePicker& p) { return p.DateTimeValue() - std::floor(p.DateTimeValue()); },
                   [](TFrDateTimePicker& p, double v) { p.SetTime(DelphiToQDateTime(v).time()); })
            .Event<TNotifyEvent>("OnChange", [](TFrDateTimePicker& p, const TNotifyEvent& h) { p.OnChange = h; });
        return t;
    }();
    return table;
}
