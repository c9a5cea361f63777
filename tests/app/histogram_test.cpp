// The histogram in both charts after an analysis, and the charts' part of the reset.
#include "app_fixture.h"

#include "bar_series.h"
#include "chart.h"
#include "framed_grid.h"
#include "histogram.h"
#include "led_display.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QTest>

class Histogram : public AppTest {
protected:
    TChart* Chart(const char* name) const { return form->Find<TChart>(QString::fromLatin1(name)); }
    TBarSeries* Series(const char* chart) const { return dynamic_cast<TBarSeries*>(Chart(chart)->SeriesAt(0)); }
    void AnalyseWorkedExample() {
        SetScores({"95", "89.5", "72", "60", "59.4", "100"});
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    }
    static std::vector<double> Xs(const TChartSeries& s) {
        std::vector<double> out;
        for (int i = 0; i < s.Count(); ++i) out.push_back(s.XValues[i]);
        return out;
    }
};

TEST_F(Histogram, ChartsAsTheWindowDescribesThem) {
    TChart* chart1 = Chart("Chart1");
    TChart* chart2 = Chart("Chart2");
    ASSERT_NE(chart1, nullptr);
    ASSERT_NE(chart2, nullptr);
    EXPECT_TRUE(chart1->View3D());
    EXPECT_EQ(chart1->Title.Text(), QStringList{QStringLiteral("成绩直方图")});
    EXPECT_TRUE(chart1->Legend.Visible());
    // Walls in the pale slate of the skin, not the engine's yellow and white.
    EXPECT_EQ(chart1->LeftWall.Color(), RGBColor(0xE6, 0xEB, 0xF0));
    EXPECT_EQ(chart1->BottomWall.Color(), RGBColor(0xE6, 0xEB, 0xF0));
    EXPECT_EQ(chart1->BackWall.Brush.Style(), TBrushStyle::bsClear);
    EXPECT_EQ(chart1->Align(), TAlign::alClient);
    EXPECT_EQ(chart1->SeriesCount(), 1);
    EXPECT_EQ(Series("Chart1")->SeriesColor(), clRed);
    EXPECT_TRUE(Series("Chart1")->Marks.Visible());
    EXPECT_EQ(Series("Chart1")->YValues.Name(), QStringLiteral("Bar"));

    EXPECT_EQ(chart2->size(), QSize(393, 313));
    EXPECT_FALSE(chart2->isVisible());
    EXPECT_FALSE(chart2->View3D());
    EXPECT_FALSE(chart2->Title.Visible());
    EXPECT_FALSE(chart2->Legend.Visible());
    EXPECT_TRUE(chart2->Gradient.Visible());
    EXPECT_EQ(chart2->Gradient.EndColor(), clWhite);
    EXPECT_EQ(chart2->AllowPanning(), TPanningMode::pmNone);
    EXPECT_EQ(chart2->SeriesCount(), 1);
    TBarSeries* s2 = Series("Chart2");
    EXPECT_EQ(s2->SeriesColor(), clSilver);
    EXPECT_FALSE(s2->Marks.Visible());
    EXPECT_FALSE(s2->ShowInLegend());
    EXPECT_FALSE(s2->Dark3D());
    EXPECT_FALSE(s2->SideMargins());
    EXPECT_EQ(s2->XValues.Order(), TChartListOrder::loAscending);
}

TEST_F(Histogram, AnalysisFillsBothCharts) {
    AnalyseWorkedExample();
    for (const char* name : {"Chart1", "Chart2"}) {
        const bool second = QLatin1String(name) == QLatin1String("Chart2");
        TBarSeries* s = Series(name);
        ASSERT_EQ(s->Count(), 5) << name;
        EXPECT_EQ(Xs(*s), second ? std::vector<double>({12, 24, 36, 48, 60}) : std::vector<double>({5, 15, 25, 35, 45}));
        const QStringList labels{"优", "良", "中", "及格", "不及格"};
        const double counts[] = {3, 0, 1, 1, 1};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(s->Label(i), labels[i]);
            EXPECT_EQ(s->YValues[i], counts[i]);
            EXPECT_EQ(s->StoredColor(i), DefaultColor);
        }
        EXPECT_EQ(s->CustomBarWidth(), second ? 30 : 20);
        TChart* c = Chart(name);
        EXPECT_EQ(c->LeftAxis.Minimum(), 0);
        EXPECT_EQ(c->LeftAxis.Maximum(), 4);
        EXPECT_EQ(c->LeftAxis.Increment(), 1);
        EXPECT_EQ(c->BottomAxis.Minimum(), 0);
        EXPECT_EQ(c->BottomAxis.Maximum(), 70);
        EXPECT_EQ(c->BottomAxis.Increment(), second ? 12 : 10);
        EXPECT_FALSE(c->BottomAxis.Logarithmic());
    }
}

TEST_F(Histogram, ReportPictureOfTheWorkedExample) {
    AnalyseWorkedExample();
    TChart* chart2 = Chart("Chart2");
    const QImage im = chart2->RenderToBitmap(clWhite, {0, 0, chart2->width(), chart2->height()});
    ASSERT_EQ(im.size(), QSize(393, 313));
    EXPECT_EQ(im.pixel(4, 4), qRgb(255, 255, 255));
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    const int zero = chart2->LeftAxis.CalcPosValue(0), one = chart2->LeftAxis.CalcPosValue(1);
    EXPECT_EQ(chart2->LeftAxis.RangeMax(), 4);
    int heights[5] = {};
    for (int i = 0; i < 5; ++i) {
        const int x = chart2->BottomAxis.CalcPosValue(12.0 * (i + 1));
        for (int y = 0; y < im.height(); ++y) heights[i] += im.pixel(x, y) == silver;
        if (heights[i] == 0) continue;
        // 30 pixels wide, centred on x: outline at x - 15 and x + 14.
        EXPECT_EQ(im.pixel(x - 15, zero - 3), qRgb(0, 0, 0));
        EXPECT_EQ(im.pixel(x + 14, zero - 3), qRgb(0, 0, 0));
        EXPECT_EQ(im.pixel(x - 14, zero - 3), silver);
        EXPECT_EQ(im.pixel(x - 16, zero - 3), qRgb(255, 255, 255));
        EXPECT_EQ(im.pixel(x + 15, zero - 3), qRgb(255, 255, 255));
    }
    const int unit = zero - one;
    EXPECT_EQ(heights[1], 0);
    for (int i : {2, 3, 4}) EXPECT_NEAR(heights[i], unit - 2, 1);
    EXPECT_NEAR(heights[0], 3 * unit - 2, 2);
}

TEST_F(Histogram, ASecondAnalysisLeavesNothingOfTheFirst) {
    AnalyseWorkedExample();
    for (int row = 1; row <= 6; ++row) form->strgrdscore->SetCells(0, row, "");
    SetScores({"55", "56"});
    QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    for (const char* name : {"Chart1", "Chart2"}) {
        TBarSeries* s = Series(name);
        ASSERT_EQ(s->Count(), 5);
        EXPECT_EQ(s->YValues[0], 0);
        EXPECT_EQ(s->YValues[4], 2);
        EXPECT_EQ(Chart(name)->LeftAxis.Maximum(), 3);
    }
}

TEST_F(Histogram, CountAxisFollowsTheLargestCount) {
    struct Case { double m; double increment, maximum; };
    const Case cases[] = {{3, 1, 4}, {1, 1, 2}, {9, 1, 10}, {10, 2, 12}, {11, 2, 12}, {20, 2, 22},
                          {21, 5, 30}, {35, 5, 40}, {40, 5, 50}, {0, 1, 1}};
    TChart* chart = Chart("Chart1");
    for (const Case& c : cases) {
        FitCountAxis(*chart, {0, c.m, 0, c.m > 0 ? c.m - 1 : 0, 0});
        EXPECT_EQ(chart->LeftAxis.Increment(), c.increment) << c.m;
        EXPECT_EQ(chart->LeftAxis.Minimum(), 0) << c.m;
        EXPECT_EQ(chart->LeftAxis.Maximum(), c.maximum) << c.m;
        EXPECT_FALSE(chart->LeftAxis.Automatic());
    }
}

TEST_F(Histogram, ResetCancelledChangesNothing) {
    AnalyseWorkedExample();
    dialogs.saveQuestionAnswers.push_back(SaveAnswer::Discard);  // the typed class is not kept
    dialogs.answers.push_back(MsgResult::Cancel);
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const ShownMessage& m = dialogs.messages[0];
    EXPECT_EQ(m.caption, QStringLiteral("Confirm"));
    EXPECT_EQ(m.text, QStringLiteral("您确认要清空所有成绩以及分析结果吗？\r信息录入和试卷分析的内容不会改变！"));
    EXPECT_EQ(m.icon, MsgIcon::Question);
    EXPECT_EQ(m.buttons, MsgButtons::OKCancel);
    EXPECT_EQ(Series("Chart1")->Count(), 5);
    EXPECT_EQ(Series("Chart2")->Count(), 5);
    EXPECT_EQ(Result(1, 1), QStringLiteral("3"));
    EXPECT_EQ(form->strgrdscore->Cells(0, 1), QStringLiteral("95"));
    EXPECT_TRUE(form->MbMake->Enabled());
}

TEST_F(Histogram, ResetEmptiesBothChartsAndKeepsTheirAxes) {
    AnalyseWorkedExample();
    dialogs.saveQuestionAnswers.push_back(SaveAnswer::Discard);
    dialogs.answers.push_back(MsgResult::OK);
    QTest::mouseClick(form->btnClear, Qt::LeftButton);
    for (const char* name : {"Chart1", "Chart2"}) {
        EXPECT_EQ(Series(name)->Count(), 0) << name;
        EXPECT_EQ(Chart(name)->LeftAxis.Maximum(), 4) << name;
        EXPECT_EQ(Chart(name)->BottomAxis.Maximum(), 70) << name;
    }
    EXPECT_FALSE(form->MbMake->Enabled());
    EXPECT_EQ(form->BandCounts, (std::array<double, 5>{3, 0, 1, 1, 1}));  // kept
    // The emptied report picture still has its axes and wall frame.
    TChart* chart2 = Chart("Chart2");
    const QImage im = chart2->RenderToBitmap(clWhite, {0, 0, 393, 313});
    const TRect p = chart2->ChartRect();
    EXPECT_EQ(im.pixel(p.right, (p.top + p.bottom) / 2), qRgb(0, 0, 0));
    EXPECT_EQ(im.pixel((p.left + p.right) / 2, p.bottom), qRgb(0, 0, 0));
}

TEST_F(Histogram, HistogramTabShowsTheChart) {
    AnalyseWorkedExample();
    form->SkSkinPageControl1->SetActivePageIndex(2);
    QApplication::processEvents();
    TChart* chart1 = Chart("Chart1");
    ASSERT_TRUE(chart1->isVisible());
    EXPECT_GT(chart1->width(), 300);
    const QImage shot = chart1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("MARKWISE_HISTOGRAM_SHOT")) {
        form->grab().save(qEnvironmentVariable("MARKWISE_HISTOGRAM_SHOT"));
        TChart* chart2 = Chart("Chart2");
        chart2->RenderToBitmap(clWhite, {0, 0, chart2->width(), chart2->height()})
            .save(qEnvironmentVariable("MARKWISE_HISTOGRAM_SHOT") + QStringLiteral(".chart2.png"));
    }
    // Red bars with dark sides on screen.
    int red = 0, dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            red += shot.pixel(x, y) == qRgb(255, 0, 0);
            dark += shot.pixel(x, y) == qRgb(127, 0, 0);
        }
    EXPECT_GT(red, 500);
    EXPECT_GT(dark, 20);
}

// The tallest mark stays below the title and inside the chart when the
// fitted axis leaves it little room above its bar.
class TallestMark : public Histogram {
protected:
    void AnalyseAndShow(const QStringList& scores, const char* shotName) {
        SetScores(scores);
        QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
        form->SkSkinPageControl1->SetActivePageIndex(2);
        QApplication::processEvents();
        shot = Chart("Chart1")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString dir = qEnvironmentVariable("MARKWISE_SHOT_DIR");
        if (!dir.isEmpty()) form->grab().save(dir + "/" + shotName);
    }
    // The lowest row holding the title's slate letters: dark, and bluer than
    // they are red, which the black text of marks and labels never is.
    int TitleBottom() {
        const QColor ink = ToQColor(Chart("Chart1")->Title.Font.Color());
        const int tint = ink.blue() - ink.red();
        int bottom = -1;
        for (int y = 0; y < shot.height() / 2; ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb c = shot.pixel(x, y);
                if (qRed(c) < 128 && qBlue(c) - qRed(c) >= tint / 2) bottom = y;
            }
        return bottom;
    }
    void ExpectMarksInside() {
        TChart* chart = Chart("Chart1");
        TBarSeries* s = Series("Chart1");
        const int titleBottom = TitleBottom();
        ASSERT_GT(titleBottom, 0);
        ASSERT_EQ(s->Marks.Positions.size(), 5u);
        const int z = s->MiddleZ();
        for (int i = 0; i < 5; ++i) {
            const TSeriesMarkPosition& m = s->Marks.Positions[size_t(i)];
            const QPoint topLeft = chart->ChartCanvas().Project(m.leftTop.x(), m.leftTop.y(), z);
            EXPECT_GT(topLeft.y(), titleBottom) << "band " << i;
            EXPECT_GE(topLeft.x(), 0) << "band " << i;
            EXPECT_LE(topLeft.x() + m.width, shot.width()) << "band " << i;
            EXPECT_LE(topLeft.y() + m.height, shot.height()) << "band " << i;
            // The mark's box really is drawn there.
            EXPECT_EQ(shot.pixel(topLeft.x() + 2, topLeft.y() + 2), ToQColor(s->Marks.BackColor()).rgb()) << "band " << i;
            EXPECT_LE(m.arrowTo.y(), m.arrowFrom.y()) << "band " << i;
        }
    }
    QImage shot;
};

TEST_F(TallestMark, SixScoresInOneBand) {
    AnalyseAndShow({"95", "96", "97", "98", "99", "100"}, "histogram_six_in_one_band.png");
    EXPECT_EQ(Chart("Chart1")->LeftAxis.Maximum(), 7);  // the fitted axis as before
    ExpectMarksInside();
    // The short bars keep their full 20-pixel arrow.
    const TSeriesMarkPosition& empty = Series("Chart1")->Marks.Positions[1];
    EXPECT_EQ(empty.arrowFrom.y() - empty.arrowTo.y(), 20);
}

TEST_F(TallestMark, TwoHundredNinetyNineSpreadScores) {
    QStringList scores;
    for (int k = 0; k < kScoreRows; ++k) scores << QString::number(k * 100 / (kScoreRows - 1));
    AnalyseAndShow(scores, "histogram_299_spread.png");
    EXPECT_EQ(Chart("Chart1")->LeftAxis.Maximum(), 180);
    ExpectMarksInside();
}
