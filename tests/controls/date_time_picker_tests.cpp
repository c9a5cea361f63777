#include "date_time_picker.h"
#include "pixels.h"

#include <QCalendarWidget>
#include <QStyle>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {
TFrDateTimePicker* TimePicker(QWidget* parent) {
    auto* p = new TFrDateTimePicker(nullptr, parent);
    p->SetKind(TDateTimeKind::dtkTime);
    p->SetDateMode(TDTDateMode::dmUpDown);
    p->SetFormat(QStringLiteral("H:mm"));
    p->SetBounds(0, 0, 57, 21);
    return p;
}
}  // namespace

TEST(DateTimePicker, HourWithoutLeadingZero) {
    QWidget host;
    TFrDateTimePicker* p = TimePicker(&host);
    p->SetTime(QTime(8, 5));
    EXPECT_EQ(p->DisplayText(), QStringLiteral("8:05"));
    p->SetTime(QTime(14, 30));
    EXPECT_EQ(p->DisplayText(), QStringLiteral("14:30"));
    // The stored design values of the information tab.
    p->SetDateTimeValue(38766.34513888888);
    EXPECT_EQ(p->DisplayText(), QStringLiteral("8:17"));
    p->SetDateTimeValue(38766.34849337963);
    EXPECT_EQ(p->DisplayText(), QStringLiteral("8:21"));
    EXPECT_EQ(p->Date(), QDate(2006, 2, 18));
}

TEST(DateTimePicker, FormatSurvivesRecreation) {
    QWidget host;
    TFrDateTimePicker* p = TimePicker(&host);
    p->SetTime(QTime(9, 7));
    p->SetDateMode(TDTDateMode::dmComboBox);  // needs the window built again
    p->Frame().SetFrameVisible(true);
    p->Recreate();
    EXPECT_EQ(p->Format(), QStringLiteral("H:mm"));
    EXPECT_EQ(p->DisplayText(), QStringLiteral("9:07"));
}

TEST(DateTimePicker, EditsChangeOnlyTheirOwnPart) {
    QWidget host;
    TFrDateTimePicker* time = TimePicker(&host);
    TFrDateTimePicker* date = new TFrDateTimePicker(nullptr, &host);
    date->SetBounds(0, 30, 100, 21);
    ShowActive(host);
    const QDateTime stored(QDate(2006, 2, 18), QTime(8, 17, 30));
    time->SetDateTimeValue(DateTimeToSerial(stored));
    date->SetDateTimeValue(DateTimeToSerial(stored));
    int changes = 0;
    time->OnChange = [&](TComponent*) { ++changes; };

    time->setFocus();
    time->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(time, Qt::Key_Up);
    EXPECT_EQ(time->Time().hour(), 9);
    EXPECT_EQ(time->Date(), QDate(2006, 2, 18));
    EXPECT_EQ(time->DisplayText(), QStringLiteral("9:17"));
    EXPECT_EQ(changes, 1);

    date->setFocus();
    date->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(date, Qt::Key_Up);
    EXPECT_EQ(date->Date(), QDate(2006, 2, 19));
    EXPECT_EQ(date->Time(), QTime(8, 17, 30));
}

TEST(DateTimePicker, DropDownCalendarOptions) {
    QWidget host;
    auto* p = new TFrDateTimePicker(nullptr, &host);
    p->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));  // weeks start on Sunday
    const QSize plain = p->PrepareDropDown();
    ASSERT_TRUE(p->Calendar());
    EXPECT_EQ(p->Calendar()->firstDayOfWeek(), Qt::Sunday);
    p->SetFirstDayOfWeek(TCalDayOfWeek::dowMonday);
    p->PrepareDropDown();
    EXPECT_EQ(p->Calendar()->firstDayOfWeek(), Qt::Monday);

    p->SetShowWeekNumbers(true);
    const QSize weeks = p->PrepareDropDown();
    EXPECT_EQ(weeks.width() - plain.width(), QFontMetrics(p->font()).horizontalAdvance(QStringLiteral(" 33   ")));
    EXPECT_EQ(p->Calendar()->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);

    p->SetShowWeekNumbers(false);
    p->SetDropColumns(2);
    EXPECT_EQ(p->PrepareDropDown().width(), 2 * plain.width());

    // Calendar colours reach the calendar, trailing days included.
    p->CalColors().SetColor(TFrMonthCalColors::TrailingTextColor, clRed);
    EXPECT_EQ(p->Calendar()->palette().color(QPalette::Disabled, QPalette::Text), ToQColor(clRed));
}

TEST(DateTimePicker, CustomFrameAndFlatButton) {
    QWidget host;
    auto* p = new TFrDateTimePicker(nullptr, &host);
    p->SetBounds(0, 0, 100, 21);
    p->Frame().SetFrameVisible(true);
    p->Frame().SetFrameColor(clRed);
    p->SetFlatButtons(true);
    p->SetFlatButtonColor(clAqua);
    ShowActive(host);
    QImage img = Snapshot(*p);
    EXPECT_EQ(PixelAt(img, 0, 10), clRed);
    EXPECT_EQ(PixelAt(img, 1, 10), ColorToRGB(clWindow));
    const int bw = p->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, p) + 2;
    const int cx = (98 - bw + 98) / 2, cy = (2 + 19) / 2;
    EXPECT_EQ(PixelAt(img, 98 - bw + 2, 4), clAqua);  // the button face
    EXPECT_EQ(PixelAt(img, cx, cy), clBlack);         // the arrow's apex
    EXPECT_EQ(PixelAt(img, cx - 5, cy - 4), clBlack); // its top edge, 10 wide
    EXPECT_EQ(PixelAt(img, cx, cy + 1), clAqua);
    // Focused: the button stands out with a frame from its own colour.
    EXPECT_EQ(PixelAt(img, 97, 10), DarkerColor(clAqua, 50));
}
