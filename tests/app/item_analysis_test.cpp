// The item figures against computations done another way: by hand for a
// small right/wrong test, through the covariance matrix and the textbook
// point-biserial for generated data, and the edge classes.
#include "item_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

QStringList Names(size_t k) {
    QStringList out;
    for (size_t q = 1; q <= k; ++q) out << QString::number(q);
    return out;
}

// Alpha from the sample covariance matrix: k/(k-1) (1 - trace / sum of all entries).
double AlphaByCovariances(const std::vector<std::vector<double>>& x) {
    const size_t n = x.size(), k = x[0].size();
    std::vector<double> mean(k, 0);
    for (const auto& row : x)
        for (size_t q = 0; q < k; ++q) mean[q] += row[q] / double(n);
    double trace = 0, all = 0;
    for (size_t a = 0; a < k; ++a)
        for (size_t b = 0; b < k; ++b) {
            double c = 0;
            for (const auto& row : x) c += (row[a] - mean[a]) * (row[b] - mean[b]);
            c /= double(n - 1);
            all += c;
            if (a == b) trace += c;
        }
    return double(k) / double(k - 1) * (1 - trace / all);
}

// r by the one-pass raw-sum formula, not the deviations the program uses.
double RawCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    const double n = double(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        syy += y[i] * y[i];
        sxy += x[i] * y[i];
    }
    return (n * sxy - sx * sy) / std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
}

// A test of right/wrong questions with an ability behind them: student s
// answers question q right when ability plus noise beats its hardness.
std::vector<std::vector<double>> Generated(size_t students, size_t questions) {
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24);
    };
    std::vector<std::vector<double>> x(students, std::vector<double>(questions));
    for (size_t s = 0; s < students; ++s) {
        const double ability = next() * 2 - 1;
        for (size_t q = 0; q < questions; ++q) {
            const double hardness = double(q) / double(questions) * 1.6 - 0.8;
            x[s][q] = ability + (next() - 0.5) > hardness ? 1 : 0;
        }
    }
    return x;
}

}  // namespace

TEST(ItemFigures, SmallRightWrongTestWorkedByHand) {
    // Totals 4, 3, 2, 1, 0: p = .8 .6 .4 .2, sum of pq = .8, variance 2,
    // KR-20 = 4/3 (1 - .8/2) = 0.8, SEM = sqrt(2) sqrt(.2) = 0.632.
    const std::vector<std::vector<double>> x = {
        {1, 1, 1, 1}, {1, 1, 1, 0}, {1, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}};
    const ItemAnalysis a = AnalyseItems(Names(4), {1, 1, 1, 1}, x);
    ASSERT_EQ(a.items.size(), 4u);
    EXPECT_TRUE(a.dichotomous);
    ASSERT_TRUE(a.alpha && a.sem);
    EXPECT_NEAR(*a.alpha, 0.8, 1e-12);
    EXPECT_NEAR(*a.sem, std::sqrt(0.4), 1e-12);
    EXPECT_EQ(a.groupSize, 1);
    const double p[] = {0.8, 0.6, 0.4, 0.2};
    for (size_t q = 0; q < 4; ++q) {
        const ItemFigures& f = a.items[q];
        EXPECT_NEAR(f.difficulty, p[q], 1e-12) << q;
        // The top student has every question right, the bottom one none.
        EXPECT_DOUBLE_EQ(f.discrimination, 1.0) << q;
        // Point-biserial against the rest: (M1 - M0) / s * sqrt(pq).
        std::vector<double> rest;
        double m1 = 0, m0 = 0;
        int right = 0;
        for (const auto& row : x) {
            const double r = row[0] + row[1] + row[2] + row[3] - row[q];
            rest.push_back(r);
            if (row[q] == 1) m1 += r, ++right;
            else m0 += r;
        }
        m1 /= right;
        m0 /= double(x.size() - size_t(right));
        double mean = 0, sq = 0;
        for (double r : rest) mean += r / 5;
        for (double r : rest) sq += (r - mean) * (r - mean) / 5;
        const double pointBiserial = (m1 - m0) / std::sqrt(sq) * std::sqrt(p[q] * (1 - p[q]));
        ASSERT_TRUE(f.correlation) << q;
        EXPECT_NEAR(*f.correlation, pointBiserial, 1e-12) << q;
        EXPECT_EQ(f.fullCount + f.zeroCount, 5) << q;
        EXPECT_EQ(f.fullCount, int(std::lround(p[q] * 5))) << q;
    }
    // Item 1 is .80 (fine), item 4 is .20 (too hard); all discriminate.
    EXPECT_EQ(a.items[0].flags, 0u);
    EXPECT_EQ(a.items[3].flags, unsigned(kItemTooHard));
}

TEST(ItemFigures, KnownReliabilityOfIndependentAndIdenticalQuestions) {
    // Two questions that do not covary: alpha 0, SEM the whole deviation.
    const ItemAnalysis independent = AnalyseItems(Names(2), {1, 1}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    ASSERT_TRUE(independent.alpha);
    EXPECT_NEAR(*independent.alpha, 0.0, 1e-12);
    EXPECT_NEAR(*independent.sem, independent.totalDeviation, 1e-12);
    // Questions that work against each other: alpha below 0, and the error
    // is the whole spread, not more.
    const ItemAnalysis against = AnalyseItems(Names(2), {1, 1}, {{0, 1}, {1, 0}, {1, 1}, {0, 1}});
    ASSERT_TRUE(against.alpha);
    EXPECT_NEAR(*against.alpha, 2 * (1 - 0.4375 / 0.1875), 1e-12);
    EXPECT_NEAR(*against.sem, std::sqrt(0.1875), 1e-12);
    // Three copies of the same question measure without error.
    const ItemAnalysis same = AnalyseItems(Names(3), {5, 5, 5}, {{1, 1, 1}, {4, 4, 4}, {2.5, 2.5, 2.5}});
    ASSERT_TRUE(same.alpha);
    EXPECT_NEAR(*same.alpha, 1.0, 1e-12);
    EXPECT_NEAR(*same.sem, 0.0, 1e-6);
    EXPECT_FALSE(same.dichotomous);
}

TEST(ItemFigures, GeneratedClassAgreesWithTheCovarianceMatrixAndRawSums) {
    auto x = Generated(45, 20);
    // Question 7 keyed the wrong way round: the strong students "miss" it.
    for (auto& row : x) row[6] = 1 - row[6];
    const ItemAnalysis a = AnalyseItems(Names(20), std::vector<double>(20, 1), x);
    ASSERT_TRUE(a.alpha);
    EXPECT_NEAR(*a.alpha, AlphaByCovariances(x), 1e-10);
    for (size_t q = 0; q < 20; ++q) {
        std::vector<double> item, rest;
        for (const auto& row : x) {
            double total = 0;
            for (double v : row) total += v;
            item.push_back(row[q]);
            rest.push_back(total - row[q]);
        }
        ASSERT_TRUE(a.items[q].correlation) << q;
        EXPECT_NEAR(*a.items[q].correlation, RawCorrelation(item, rest), 1e-10) << q;
    }
    EXPECT_TRUE(a.items[6].flags & kItemNegativeCorrelation);
    EXPECT_LT(a.items[6].discrimination, 0);
    // The ability structure makes the rest hang together.
    EXPECT_GT(*a.alpha, 0.6);
    for (size_t q = 0; q < 20; ++q)
        if (q != 6) EXPECT_FALSE(a.items[q].flags & kItemNegativeCorrelation) << q;
    // 45 students: groups of 12 (27 % of 45 is 12.15).
    EXPECT_EQ(a.groupSize, 12);
}

TEST(ItemFigures, DiscriminationUsesTheGroupsByTotal) {
    // Ten students, groups of 3 by total. Question 2 is what separates them.
    std::vector<std::vector<double>> x;
    for (int s = 0; s < 10; ++s) x.push_back({double(s % 2) * 2, double(s)});
    const ItemAnalysis a = AnalyseItems(QStringList{QStringLiteral("选择1"), QStringLiteral("T2")}, {2, 9}, x);
    EXPECT_EQ(a.groupSize, 3);
    // Totals are s + 2 for odd s, else s: the top three are 11 (s=9), 9 (s=7)
    // and 8 (s=8), the bottom three 3 (s=1), 2 (s=2) and 0 (s=0).
    const double upper2 = (9 + 7 + 8) / 3.0, lower2 = (0 + 2 + 1) / 3.0;
    EXPECT_NEAR(a.items[1].discrimination, (upper2 - lower2) / 9, 1e-12);
    const double upper1 = (2 + 2 + 0) / 3.0, lower1 = (0 + 0 + 2) / 3.0;
    EXPECT_NEAR(a.items[0].discrimination, (upper1 - lower1) / 2, 1e-12);
    EXPECT_EQ(a.items[0].zeroCount, 5);
    EXPECT_EQ(a.items[0].fullCount, 5);
}

TEST(ItemFigures, QuestionEveryoneGotRightAndTinyClasses) {
    // Question 1 right for everyone: no correlation, flagged, nothing divided by zero.
    const ItemAnalysis a = AnalyseItems(Names(3), {2, 3, 5}, {{2, 1, 5}, {2, 3, 0}, {2, 0, 2.5}});
    const ItemFigures& all = a.items[0];
    EXPECT_FALSE(all.correlation);
    EXPECT_DOUBLE_EQ(all.difficulty, 1.0);
    EXPECT_DOUBLE_EQ(all.discrimination, 0.0);
    EXPECT_EQ(all.fullCount, 3);
    EXPECT_EQ(all.flags, unsigned(kItemTooEasy | kItemPoorlyDiscriminating));
    EXPECT_TRUE(a.alpha);
    EXPECT_TRUE(std::isfinite(*a.alpha) && std::isfinite(*a.sem));
    EXPECT_EQ(ItemTableRow(all)[5], QStringLiteral("—"));

    // One student: both groups are that student, nothing varies.
    const ItemAnalysis one = AnalyseItems(Names(2), {10, 10}, {{7, 3}});
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.groupSize, 1);
    EXPECT_DOUBLE_EQ(one.items[0].discrimination, 0.0);
    EXPECT_DOUBLE_EQ(one.items[0].difficulty, 0.7);
    EXPECT_FALSE(one.items[0].correlation);
    EXPECT_FALSE(one.alpha);
    EXPECT_FALSE(one.sem);
    EXPECT_TRUE(ItemNote(one).contains(QStringLiteral("信度无法计算")));

    // Two students: a question that splits them as the rest does correlates at 1.
    const ItemAnalysis two = AnalyseItems(Names(2), {10, 10}, {{9, 8}, {1, 2}});
    ASSERT_TRUE(two.items[0].correlation);
    EXPECT_NEAR(*two.items[0].correlation, 1.0, 1e-12);
    EXPECT_NEAR(two.items[0].discrimination, 0.8, 1e-12);
    ASSERT_TRUE(two.alpha);

    // No students at all is no crash either.
    const ItemAnalysis none = AnalyseItems(Names(2), {1, 1}, {});
    EXPECT_EQ(none.count, 0);
    EXPECT_FALSE(none.alpha);
}

TEST(ItemFigures, FlagsOnTheShownHundredths) {
    // Forty students: P = 12/40 = 0.30 is not too hard, nor 11.9/40 = 0.2975
    // shown as 0.30; 0.29 is. 0.90 is not too easy, 0.91 is.
    const auto flagsFor = [](double right, double full) {
        std::vector<std::vector<double>> x(40, {0.0});
        double left = right;
        for (auto& row : x) {
            row[0] = std::min(left, full);
            left -= row[0];
        }
        return AnalyseItems(Names(1), {full}, x).items[0].flags;
    };
    EXPECT_FALSE(flagsFor(12, 1) & kItemTooHard);
    EXPECT_FALSE(flagsFor(11.9, 1) & kItemTooHard);
    EXPECT_TRUE(flagsFor(11.6, 1) & kItemTooHard);
    EXPECT_FALSE(flagsFor(36, 1) & kItemTooEasy);
    EXPECT_TRUE(flagsFor(36.4, 1) & kItemTooEasy);
}

TEST(ItemTexts, SentenceNamesFlaggedQuestionsAndReplacesItsLine) {
    const std::vector<std::vector<double>> x = {
        {1, 1, 1, 1}, {1, 1, 1, 0}, {1, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}};
    const ItemAnalysis a = AnalyseItems(QStringList{"1", "2", "3", QStringLiteral("第4题")}, {1, 1, 1, 1}, x);
    const QString sentence = ItemSentence(a);
    EXPECT_EQ(sentence, QStringLiteral("小题分析：第4题得分率低于0.30，偏难；KR-20 = 0.80，测量标准误 SEM = 0.63。"));
    const QString text = QStringLiteral("学生基础较好。\n") + sentence + QStringLiteral("\n其余略。");
    const SentencePlace place = PlaceItemSentence(text);
    EXPECT_EQ(text.mid(place.start, place.length), sentence);
    // A line the teacher wrote that merely begins the same way stays hers.
    const QString own = QStringLiteral("小题分析：见附表");
    const SentencePlace appended = PlaceItemSentence(own);
    EXPECT_EQ(appended.start, own.size());
    EXPECT_EQ(appended.length, 0);
    EXPECT_TRUE(appended.newLine);
    // Nothing flagged: said so.
    const ItemAnalysis fine = AnalyseItems(Names(2), {1, 1}, {{1, 1}, {0, 0}, {1, 1}, {0, 0}, {1, 0}});
    EXPECT_TRUE(ItemSentence(fine).contains(QStringLiteral("都在适宜范围内")));
    EXPECT_EQ(QuestionLabel(QStringLiteral("12")), QStringLiteral("第12题"));
    EXPECT_EQ(QuestionLabel(QStringLiteral("T3")), QStringLiteral("T3"));
}
