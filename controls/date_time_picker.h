#pragma once
// The date and time pickers of the information tab.
#include "control.h"

#include <QDateTime>
#include <QDateTimeEdit>

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateMode { dmComboBox, dmUpDown };

// Days since 1899-12-30 with the time of day as the fraction.
double QDateTimeToDelphi(const QDateTime& dt);
QDateTime DelphiToQDateTime(double value);

class TFrDateTimePicker : public QDateTimeEdit, public TControl {
    Q_OBJECT
public:
    TFrDateTimePicker(TComponent* owner, QWidget* parent);
    QString ClassName() const override { return QStringLiteral("TFrDateTimePicker"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind k);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode m);
    // A display format in the picker's own notation ("H:mm"); empty for the
    // locale's short date or time.
    const QString& Format() const { return format_; }
    void SetFormat(const QString& f);

    QDate Date() const { return date(); }
    void SetDate(const QDate& d) { setDate(d); }
    QTime Time() const { return time(); }
    void SetTime(const QTime& t) { setTime(t); }
    double DateTimeValue() const { return QDateTimeToDelphi(dateTime()); }
    void SetDateTimeValue(double v) { setDateTime(DelphiToQDateTime(v)); }

    TNotifyEvent OnChange;

private:
    void ApplyFormat();
    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
    QString format_;
};
