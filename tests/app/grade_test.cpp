// The grade: its classes and their shared full marks, the comparison
// figures against a computation of their own, the table's sort, the split
// of a workbook into classes, the grade file, and the window through the
// menu with class files a test wrote.
#include "app_fixture.h"

#include "chart.h"
#include "chart_series.h"
#include "class_file.h"
#include "grade.h"
#include "grade_comparison.h"
#include "grade_file.h"
#include "grade_reports.h"
#include "grade_split.h"
#include "grade_window.h"
#include "skin_menu.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

ClassData Class(const QStringList& scores, const QString& name = QString(), int fullMarks = 100) {
    ClassData c;
    c.scores = scores;
    c.info.className = name;
    c.fullMarks = fullMarks;
    return c;
}

QString Fixed2(double v) { return QString::asprintf("%.2f", v); }

// The figures computed here from their definitions, not through the program's code.
struct Expected {
    double mean, median, sd, p, d;
    int counts[5];
    double passRate, excellentRate;
};

Expected Compute(std::vector<double> s) {
    Expected e{};
    const int n = int(s.size());
    e.mean = std::accumulate(s.begin(), s.end(), 0.0) / n;
    std::sort(s.begin(), s.end());
    e.median = n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
    double sq = 0;
    for (double x : s) sq += (x - e.mean) * (x - e.mean);
    e.sd = std::sqrt(sq / n);
    for (double x : s) {
        const double r = std::nearbyint(x);
        e.counts[r >= 90 ? 0 : r >= 80 ? 1 : r >= 70 ? 2 : r >= 60 ? 3 : 4]++;
    }
    e.passRate = 100.0 * (n - e.counts[4]) / n;
    e.excellentRate = 100.0 * e.counts[0] / n;
    e.p = e.mean / 100;
    const int g = std::max(1, int(std::lround(0.27 * n)));
    const double low = std::accumulate(s.begin(), s.begin() + g, 0.0) / g;
    const double high = std::accumulate(s.end() - g, s.end(), 0.0) / g;
    e.d = (high - low) / 100;
    return e;
}

int Column(const QString& header) {
    const auto& c = ComparisonColumns();
    for (size_t k = 0; k < c.size(); ++k)
        if (c[k].header == header) return int(k);
    ADD_FAILURE() << "no column " << header.toStdString();
    return 0;
}

QString Text(const ClassFigures& f, const QString& header) { return ComparisonColumns()[size_t(Column(header))].text(f); }

}  // namespace

TEST(GradeClasses, SharedFullMarksUniqueNamesAndRefusals) {
    TGrade g;
    EXPECT_EQ(g.Add("一班", Class({"90", "80"})), 0);
    // The same name again is told apart; the class's own name wins over the fallback.
    EXPECT_EQ(g.Add("一班", Class({"70"})), 1);
    EXPECT_EQ(g.At(1).name, QStringLiteral("一班（2）"));
    EXPECT_EQ(DefaultClassName(Class({"1"}, " 三班 "), "file"), QStringLiteral("三班"));
    EXPECT_EQ(DefaultClassName(Class({"1"}), "file"), QStringLiteral("file"));

    try {
        g.Add("二班", Class({"120"}, QString(), 150));
        FAIL() << "other full marks taken";
    } catch (const EGradeError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("满分是150分"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("100分")));
    }
    EXPECT_THROW(g.Add("二班", Class({"90", "  ", "abc"})), EGradeError);
    EXPECT_THROW(g.Add("二班", Class({"90", "101"})), EGradeError);
    EXPECT_THROW(g.Add("二班", Class({"", " "})), EGradeError);
    EXPECT_EQ(g.Count(), 2);
    try {
        g.Add("二班", Class({"90", "", "8o"}));
    } catch (const EGradeError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("第3行"))) << e.Message().toStdString();
    }

    g.Add("二班", Class({"60"}), "/tmp/x.mwclass");
    EXPECT_THROW(g.Add("四班", Class({"60"}), "/tmp/../tmp/x.mwclass"), EGradeError);
    EXPECT_THROW(g.Rename(0, "二班"), EGradeError);
    EXPECT_THROW(g.Rename(0, "  "), EGradeError);
    g.Rename(0, "一班");  // its own name again is no clash
    g.Rename(2, " 实验班 ");
    EXPECT_EQ(g.At(2).name, QStringLiteral("实验班"));
    g.Remove(0);
    EXPECT_EQ(g.Count(), 2);
    EXPECT_EQ(g.At(0).name, QStringLiteral("一班（2）"));
    // Blank rows are skipped, as the analysis skips them.
    EXPECT_EQ(ClassScores(Class({"", "88.5", " ", "70"}), "x"), (std::vector<double>{88.5, 70}));
}

TEST(GradeComparisonFigures, AgreeWithTheirDefinitions) {
    const std::vector<double> a{95, 89.5, 72, 60, 59.4, 100, 88.5, 45, 77, 91};
    const std::vector<double> b{66, 70.5, 81, 59.5, 93, 84, 78};
    const std::vector<double> c{100, 100, 99};
    const GradeComparison cmp = CompareClasses({{"甲", &a}, {"乙", &b}, {"丙", &c}}, 100);
    ASSERT_EQ(cmp.classes.size(), 3u);
    std::vector<double> all = a;
    all.insert(all.end(), b.begin(), b.end());
    all.insert(all.end(), c.begin(), c.end());
    const char* bands[] = {"优", "良", "中", "及格", "不及格"};
    const auto check = [&](const ClassFigures& f, const std::vector<double>& s, double gradeMean, bool grade) {
        const Expected e = Compute(s);
        const std::string who = f.name.toStdString();
        EXPECT_EQ(Text(f, "人数"), QString::number(s.size())) << who;
        EXPECT_EQ(Text(f, "平均分"), Fixed2(e.mean)) << who;
        EXPECT_EQ(Text(f, "中位数"), Fixed2(e.median)) << who;
        EXPECT_EQ(Text(f, "标准差"), Fixed2(e.sd)) << who;
        EXPECT_EQ(Text(f, "最高分"), Fixed2(*std::max_element(s.begin(), s.end()))) << who;
        EXPECT_EQ(Text(f, "最低分"), Fixed2(*std::min_element(s.begin(), s.end()))) << who;
        EXPECT_EQ(Text(f, "及格率"), Fixed2(e.passRate) + "%") << who;
        EXPECT_EQ(Text(f, "优秀率"), Fixed2(e.excellentRate) + "%") << who;
        EXPECT_EQ(Text(f, "难度P"), Fixed2(e.p)) << who;
        EXPECT_EQ(Text(f, "区分度D"), Fixed2(e.d)) << who;
        double shown = 0;
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(Text(f, bands[k]), QString::number(e.counts[k])) << who << " " << bands[k];
            const QString pct = Text(f, QString::fromUtf8(bands[k]) + "%");
            if (k < 4) EXPECT_EQ(pct, Fixed2(100.0 * e.counts[k] / s.size()) + "%") << who << " " << bands[k];
            shown += pct.chopped(1).toDouble();
        }
        // The five shares as shown always add up to 100.
        EXPECT_NEAR(shown, 100.0, 1e-9) << who;
        if (!grade) {
            const double diff = e.mean - gradeMean;
            const QString t = Fixed2(diff);
            EXPECT_EQ(Text(f, "均分差"), diff > 0 ? "+" + t : t) << who;
        }
    };
    const double gradeMean = Compute(all).mean;
    check(cmp.classes[0], a, gradeMean, false);
    check(cmp.classes[1], b, gradeMean, false);
    check(cmp.classes[2], c, gradeMean, false);
    check(cmp.grade, all, gradeMean, true);
    EXPECT_EQ(cmp.grade.name, kWholeGradeName);
}

TEST(GradeComparisonFigures, SortByAnyColumnKeepingTiesInOrder) {
    const std::vector<double> s10{50}, s2{90}, s1{70}, s2b{90};
    const GradeComparison cmp = CompareClasses({{"10班", &s10}, {"2班", &s2}, {"1班", &s1}, {"3班", &s2b}}, 100);
    EXPECT_EQ(SortedClasses(cmp, Column("班级"), false), (std::vector<int>{2, 1, 3, 0}));  // 1, 2, 3, 10
    EXPECT_EQ(SortedClasses(cmp, Column("平均分"), true), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(SortedClasses(cmp, Column("平均分"), false), (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(SortedClasses(cmp, Column("不及格"), true), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(SortedClasses(cmp, -1, false), (std::vector<int>{0, 1, 2, 3}));
    // A mean equal to the grade's shows no sign.
    const std::vector<double> x{80}, y{80};
    const GradeComparison same = CompareClasses({{"a", &x}, {"b", &y}}, 100);
    EXPECT_EQ(Text(same.classes[0], "均分差"), QStringLiteral("0.00"));
}

TEST(WorkbookSplit, SheetsOrAClassColumnOrOneClass) {
    ScoreTable one;
    one.rows = {{1, {"姓名", "成绩"}}, {2, {"甲", "90"}}};
    ScoreTable empty;
    const WorkbookSplit bySheets = SplitWorkbook({{"一班", one}, {"空", empty}, {" 二班 ", one}}, "f");
    EXPECT_EQ(bySheets.by, WorkbookSplit::By::Sheets);
    ASSERT_EQ(bySheets.classes.size(), 2u);
    EXPECT_EQ(bySheets.classes[1].name, QStringLiteral("二班"));

    ScoreTable mixed;
    mixed.rows = {{1, {"高一年级期中成绩"}},
                  {2, {"学号", "班级", "成绩"}},
                  {3, {"1", "3班", "90"}},
                  {4, {"2", "1班", "80"}},
                  {5, {"3", "", "70"}},
                  {6, {"4", "3班", "60"}}};
    const WorkbookSplit byColumn = SplitWorkbook({{"Sheet1", mixed}}, "f");
    EXPECT_EQ(byColumn.by, WorkbookSplit::By::ClassColumn);
    EXPECT_EQ(byColumn.classHeader, QStringLiteral("班级"));
    ASSERT_EQ(byColumn.classes.size(), 2u);
    EXPECT_EQ(byColumn.classes[0].name, QStringLiteral("3班"));  // in the order they first appear
    ASSERT_EQ(byColumn.classes[0].table.rows.size(), 3);           // the header and two rows
    EXPECT_EQ(byColumn.classes[0].table.rows[0].cells, (QStringList{"学号", "成绩"}));
    EXPECT_EQ(byColumn.classes[0].table.rows[2].sourceRow, 6);
    EXPECT_EQ(byColumn.classes[0].table.rows[2].cells, (QStringList{"4", "60"}));
    EXPECT_EQ(byColumn.unassigned, (std::vector<int>{5}));

    const WorkbookSplit single = SplitWorkbook({{"Sheet1", one}, {"空", empty}}, "成绩");
    EXPECT_EQ(single.by, WorkbookSplit::By::Single);
    ASSERT_EQ(single.classes.size(), 1u);
    EXPECT_EQ(single.classes[0].name, QStringLiteral("成绩"));
}

TEST(GradeFile, RoundTripAndRefusals) {
    GradeFileContents c;
    c.fullMarks = 150;
    c.classes = {{"高一(1)班", "a/1.mwclass"}, {"引号\"与\\斜线", "../2.mwclass"}};
    const QByteArray bytes = WriteGradeFile(c);
    EXPECT_TRUE(bytes.startsWith(kGradeFileStart));
    const GradeFileContents back = ReadGradeFile(bytes);
    EXPECT_EQ(back.fullMarks, 150);
    ASSERT_EQ(back.classes.size(), 2u);
    EXPECT_EQ(back.classes[1].name, QStringLiteral("引号\"与\\斜线"));
    EXPECT_EQ(back.classes[1].file, QStringLiteral("../2.mwclass"));
    EXPECT_TRUE(ReadGradeFile(WriteGradeFile({})).classes.empty());

    const auto refused = [](const QByteArray& b, const QString& part) {
        try {
            ReadGradeFile(b);
            ADD_FAILURE() << "taken: " << b.toStdString();
        } catch (const EGradeFileError& e) {
            EXPECT_TRUE(e.Message().contains(part)) << e.Message().toStdString();
        }
    };
    QByteArray newer = bytes;
    newer.replace("\"version\": 1", "\"version\": 2");
    refused(newer, QStringLiteral("更新版本"));
    refused("{\"format\": \"markwise-class\", \"version\": 1}", QStringLiteral("不是本程序保存的年级文件"));
    refused("{\"format\": \"markwise-grade\", \"version\": 1, \"fullMarks\": 0, \"classes\": []}", QStringLiteral("满分"));
    refused("{\"format\": \"markwise-grade\", \"version\": 1, \"fullMarks\": 100, \"classes\": [{\"name\": 1, \"file\": \"a\"}]}",
            QStringLiteral("第1个班级"));
    refused("{\"format\": \"markwise-grade\", \"version\": 1, \"fullMarks\": 100, \"classes\": [{\"name\": \"a\", \"file\": \"\"}]}",
            QStringLiteral("没有班级文件"));
    refused("[[[[", QStringLiteral("不是本程序保存的年级文件"));
    GradeFileContents many;
    for (int k = 0; k <= kMaxGradeClasses; ++k) many.classes.push_back({"x", "x"});
    refused(WriteGradeFile(many), QStringLiteral("超过了"));
}

TEST(ReportNames, SafeForTheFileSystem) {
    EXPECT_EQ(SafeFileName(QStringLiteral("高一(3)班")), QStringLiteral("高一(3)班"));
    EXPECT_EQ(SafeFileName(QStringLiteral("高一/3班")), QStringLiteral("高一_3班"));
    EXPECT_EQ(SafeFileName(QStringLiteral("a\\b:c*d?e\"f<g>h|i\tj")), QStringLiteral("a_b_c_d_e_f_g_h_i_j"));
    EXPECT_EQ(SafeFileName(QStringLiteral("..")), QStringLiteral("班级"));
    EXPECT_EQ(SafeFileName(QStringLiteral(".hidden. ")), QStringLiteral("hidden"));
    EXPECT_EQ(SafeFileName(QStringLiteral("   ")), QStringLiteral("班级"));
    const QString longName = SafeFileName(QString(300, QChar(0x73ed)));  // 班 x 300: 900 bytes
    EXPECT_LE(longName.toUtf8().size(), 200);
    EXPECT_GE(longName.toUtf8().size(), 195);
    // A character beyond the BMP is never cut in half.
    const QString astral = SafeFileName(QString::fromUtf8("😀").repeated(80));
    EXPECT_TRUE(QStringView(astral).isValidUtf16());
    EXPECT_EQ(PdfNameOf("/a/b.doc"), QStringLiteral("/a/b.pdf"));
}

class GradeWindowTest : public AppTest {
protected:
    QTemporaryDir dir;
    QString WriteClass(const QString& file, const ClassData& data) {
        const QString path = dir.filePath(file);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(WriteClassFile(data));
        return path;
    }
    TGradeWindow* OpenWindow() {
        form->MbGrade->Click();
        auto* w = form->findChild<TGradeWindow*>();
        EXPECT_NE(w, nullptr);
        return w;
    }
    void AddFile(TGradeWindow* w, const QString& path) {
        dialogs.openAnswers = {path};
        w->AddFilesButton()->click();
    }
    QStringList Column0(TGradeWindow* w) {
        QStringList out;
        for (int r = 0; r < w->Table()->rowCount(); ++r) out << w->Table()->item(r, 0)->text();
        return out;
    }
};

TEST_F(GradeWindowTest, ClassFilesSideBySideSortedRenamedAndRemoved) {
    TGradeWindow* w = OpenWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("年级对比"));
    EXPECT_FALSE(w->MakeAllButton()->isEnabled());  // nothing to make yet
    AddFile(w, WriteClass("a.mwclass", Class({"90", "80", "70"}, "一班")));
    AddFile(w, WriteClass("b.mwclass", Class({"95", "99"}, "二班")));
    AddFile(w, WriteClass("c.mwclass", Class({"50", "", "65"}, "三班")));
    EXPECT_EQ(Column0(w), (QStringList{"一班", "二班", "三班", "全年级"}));
    EXPECT_TRUE(w->MakeAllButton()->isEnabled());
    // The menu opens the same window again, not a second one.
    form->MbGrade->Click();
    EXPECT_EQ(form->findChildren<TGradeWindow*>().size(), 1);

    // The same file twice, and a class out of 150, are refused with a message.
    AddFile(w, dir.filePath("a.mwclass"));
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("已经在本年级中")));
    AddFile(w, WriteClass("d.mwclass", Class({"140"}, "四班", 150)));
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("满分")));
    EXPECT_EQ(w->Grade().Count(), 3);

    const int mean = Column("平均分");
    w->Table()->horizontalHeader()->sectionClicked(mean);  // high to low first
    EXPECT_EQ(Column0(w), (QStringList{"二班", "一班", "三班", "全年级"}));
    EXPECT_EQ(w->Table()->item(0, mean)->text(), QStringLiteral("97.00"));
    w->Table()->horizontalHeader()->sectionClicked(mean);
    EXPECT_EQ(Column0(w), (QStringList{"三班", "一班", "二班", "全年级"}));

    // Renamed in its cell: the table, the chart's legend and the grade follow.
    w->Table()->item(1, 0)->setText(QStringLiteral("实验班"));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->Grade().At(0).name, QStringLiteral("实验班"));
    ASSERT_EQ(w->Chart()->SeriesCount(), 3);
    EXPECT_EQ(w->Chart()->SeriesAt(0)->Title(), QStringLiteral("实验班"));
    // A name another class has is refused and the old one comes back.
    w->Table()->item(1, 0)->setText(QStringLiteral("二班"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("已经有名为“二班”")));
    EXPECT_EQ(w->Table()->item(1, 0)->text(), QStringLiteral("实验班"));

    w->Table()->selectRow(0);  // 三班, lowest mean
    w->RemoveButton()->click();
    EXPECT_EQ(Column0(w), (QStringList{"实验班", "二班", "全年级"}));
    EXPECT_EQ(w->Chart()->SeriesCount(), 2);
}

TEST_F(GradeWindowTest, TheChartTakesTheHistogramsLookAndOneColourPerClass) {
    TGradeWindow* w = OpenWindow();
    ASSERT_NE(w, nullptr);
    AddFile(w, WriteClass("a.mwclass", Class({"90", "80", "70", "60"}, "一班")));
    AddFile(w, WriteClass("b.mwclass", Class({"95", "55"}, "二班")));
    auto* histogram = form->Find<TCustomChart>(QStringLiteral("Chart1"));
    ASSERT_NE(histogram, nullptr);
    TChart* chart = w->Chart();
    ASSERT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(chart->SeriesAt(0)->SeriesColor(), histogram->SeriesAt(0)->SeriesColor());
    EXPECT_NE(chart->SeriesAt(1)->SeriesColor(), chart->SeriesAt(0)->SeriesColor());
    EXPECT_EQ(chart->Title.Font.Color(), histogram->Title.Font.Color());
    EXPECT_EQ(chart->Color(), histogram->Color());
    // Each class's bars are its shares of the bands, labelled by band.
    EXPECT_EQ(chart->SeriesAt(1)->Count(), 5);
    EXPECT_EQ(chart->SeriesAt(1)->YValues.Value(0), 50.0);
    EXPECT_EQ(chart->SeriesAt(1)->YValues.Value(4), 50.0);
    EXPECT_EQ(chart->SeriesAt(1)->Label(4), QStringLiteral("不及格"));
    // Both classes' colours reach the screen.
    w->resize(980, 680);
    const QImage shot = chart->grab().toImage();
    const auto shows = [&](unsigned c) {
        const QColor want(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixelColor(x, y) == want) return true;
        return false;
    };
    EXPECT_TRUE(shows(chart->SeriesAt(0)->SeriesColor()));
    EXPECT_TRUE(shows(chart->SeriesAt(1)->SeriesColor()));
    const QString shots = qEnvironmentVariable("MARKWISE_SHOT_DIR");
    if (!shots.isEmpty()) w->grab().save(shots + "/grade_window.png");
}

TEST_F(GradeWindowTest, ASavedGradeOpensAgainWithItsNames) {
    TGradeWindow* w = OpenWindow();
    ASSERT_NE(w, nullptr);
    const QString a = WriteClass("a.mwclass", Class({"90", "80"}, "一班"));
    AddFile(w, a);
    // A class that came from a workbook has no file yet.
    w->Grade().Add(QStringLiteral("高一/2班"), Class({"70", "75"}));
    w->Refresh();
    w->Table()->item(0, 0)->setText(QStringLiteral("快班"));
    QCoreApplication::processEvents();
    const QString gradePath = dir.filePath("grade/年级");
    QDir().mkpath(dir.filePath("grade"));
    dialogs.saveAnswers = {gradePath};
    w->SaveButton()->click();
    ASSERT_TRUE(QFile::exists(gradePath + ".mwgrade"));
    // The imported class was written as a class file beside the grade, named safely.
    EXPECT_TRUE(QFile::exists(dir.filePath("grade/高一_2班.mwclass")));
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("高一_2班.mwclass")));
    QFile f(gradePath + ".mwgrade");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const GradeFileContents saved = ReadGradeFile(f.readAll());
    ASSERT_EQ(saved.classes.size(), 2u);
    EXPECT_EQ(saved.classes[0].file, QStringLiteral("../a.mwclass"));  // relative to the grade file

    w->Grade().Clear();
    w->Refresh();
    dialogs.openAnswers = {gradePath + ".mwgrade"};
    w->OpenButton()->click();
    ASSERT_EQ(w->Grade().Count(), 2);
    EXPECT_EQ(w->Grade().At(0).name, QStringLiteral("快班"));
    EXPECT_EQ(w->Grade().At(1).name, QStringLiteral("高一/2班"));
    EXPECT_EQ(w->Grade().At(1).data.scores, (QStringList{"70", "75"}));

    // A class file gone missing is named; the others still open.
    QFile::remove(a);
    dialogs.answers = {MsgResult::OK};  // replace the classes on screen
    dialogs.openAnswers = {gradePath + ".mwgrade"};
    w->OpenButton()->click();
    EXPECT_EQ(w->Grade().Count(), 1);
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("快班"))) << dialogs.messages.back().text.toStdString();
}
