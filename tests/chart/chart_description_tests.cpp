// Charts and series read from a window description, as the main window has them.
#include "bar_series.h"
#include "chart.h"
#include "chart_components.h"
#include "form.h"

#include <gtest/gtest.h>

namespace {
class THost : public TForm {
public:
    QString ClassName() const override { return QStringLiteral("THost"); }
};

const char* const kDescription = R"(object Host: THost
  Width = 400
  Height = 300
  object Chart1: TChart
    Left = 0
    Top = 0
    Width = 345
    Height = 229
    BackWall.Brush.Color = clWhite
    BackWall.Brush.Style = bsClear
    Title.Text.Strings = (
      '成绩直方图')
    LeftAxis.Increment = 2
    Legend.Alignment = laRight
    object Series1: TBarSeries
      Marks.ArrowLength = 20
      Marks.Visible = True
      SeriesColor = clRed
      XValues.DateTime = False
      XValues.Name = 'X'
      XValues.Multiplier = 1.000000000000000000
      XValues.Order = loAscending
      YValues.Name = 'Bar'
      YValues.Order = loNone
    end
    object Chart2: TChart
      Left = 304
      Top = 216
      Width = 393
      Height = 313
      View3D = False
      Visible = False
      object Series2: TBarSeries
        SeriesColor = clSilver
        SideMargins = False
      end
    end
  end
end
)";
}

TEST(ChartDescription, SeriesNestedInAChartJoinIt) {
    RegisterChartComponents();
    THost host;
    host.LoadDescriptionText(QByteArray(kDescription), QStringLiteral("host.form"));
    auto* chart1 = host.Find<TChart>(QStringLiteral("Chart1"));
    auto* chart2 = host.Find<TChart>(QStringLiteral("Chart2"));
    ASSERT_NE(chart1, nullptr);
    ASSERT_NE(chart2, nullptr);
    EXPECT_EQ(chart1->Title.Text(), QStringList{QStringLiteral("成绩直方图")});
    EXPECT_EQ(chart1->LeftAxis.Increment(), 2);
    EXPECT_EQ(chart1->BackWall.Brush.Style(), TBrushStyle::bsClear);
    ASSERT_EQ(chart1->SeriesCount(), 1);
    auto* s1 = dynamic_cast<TBarSeries*>(chart1->SeriesAt(0));
    ASSERT_NE(s1, nullptr);
    EXPECT_EQ(s1->Name(), QStringLiteral("Series1"));
    EXPECT_EQ(s1->SeriesColor(), clRed);
    EXPECT_EQ(s1->YValues.Name(), QStringLiteral("Bar"));
    EXPECT_EQ(chart2->parentWidget(), chart1);
    EXPECT_FALSE(chart2->Visible());
    ASSERT_EQ(chart2->SeriesCount(), 1);
    EXPECT_EQ(chart2->SeriesAt(0)->Name(), QStringLiteral("Series2"));
    EXPECT_FALSE(dynamic_cast<TBarSeries*>(chart2->SeriesAt(0))->SideMargins());
    // Only what differs from the defaults is written back.
    const ComponentData saved = chart2->Save();
    EXPECT_NE(saved.Find(QStringLiteral("View3D")), nullptr);
    EXPECT_EQ(saved.Find(QStringLiteral("Chart3DPercent")), nullptr);
}

TEST(ChartDescription, UnknownValuesNameTheLine) {
    RegisterChartComponents();
    THost host;
    const QByteArray bad = "object Host: THost\n  object Chart1: TChart\n    Legend.Alignment = laSideways\n  end\nend\n";
    try {
        host.LoadDescriptionText(bad, QStringLiteral("bad.form"));
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("bad.form(3)"))) << e.Message().toStdString();
    }
}

TEST(ChartDescription, InvalidAxisValueIsRefusedWithItsMessage) {
    RegisterChartComponents();
    THost host;
    const QByteArray bad = "object Host: THost\n  object Chart1: TChart\n    BottomAxis.Increment = -1\n  end\nend\n";
    try {
        host.LoadDescriptionText(bad, QStringLiteral("bad.form"));
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Axis increment must be >= 0"))) << e.Message().toStdString();
    }
}
