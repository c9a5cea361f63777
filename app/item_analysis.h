#pragma once
// How each question of an exam worked, by classical test theory: its mean
// and difficulty, its discrimination between the top and bottom groups, its
// correlation with the rest of the test, and for the whole test the
// reliability (Cronbach's alpha, KR-20 for right/wrong questions) and the
// standard error of measurement. No widgets: the dialog and the report
// show what this computes.
#include "exam_statistics.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Why a question deserves a second look; several may hold at once.
enum ItemFlag : unsigned {
    kItemTooHard = 1u << 0,               // P below 0.30
    kItemTooEasy = 1u << 1,               // P above 0.90
    kItemPoorlyDiscriminating = 1u << 2,  // D below 0.20
    kItemNegativeCorrelation = 1u << 3,   // item-rest correlation below 0: a wrong key?
};

struct ItemFigures {
    QString question;
    double fullMarks = 0;
    double mean = 0;
    double difficulty = 0;      // P: mean / full marks (得分率)
    double discrimination = 0;  // D: (upper mean - lower mean) / full marks
    // Pearson's r of the question against the total without it; for a
    // right/wrong question this is the point-biserial. None when either
    // side is the same for everyone.
    std::optional<double> correlation;
    int zeroCount = 0, fullCount = 0;
    unsigned flags = 0;
};

struct ItemAnalysis {
    int count = 0;      // students
    int groupSize = 0;  // of each of the top and bottom groups, as 统计指标 forms them
    // Every question is out of 1 and every answer is 0 or 1: alpha is then KR-20.
    bool dichotomous = false;
    // None with fewer than two questions or two students, or when every
    // total is the same.
    std::optional<double> alpha;
    // Population deviation of the totals x sqrt(1 - alpha), alpha taken as 0
    // when below it: the error of measurement never exceeds the spread.
    std::optional<double> sem;
    double totalMean = 0, totalDeviation = 0;
    std::vector<ItemFigures> items;
    // The questions carrying any flag, in their order.
    std::vector<const ItemFigures*> Flagged() const;
};

// scores: one row per student, one value per question, totals being the
// row sums. Students are grouped by total, highest first; equal totals keep
// their order in the list.
ItemAnalysis AnalyseItems(const QStringList& questions, const std::vector<double>& fullMarks,
                          const std::vector<std::vector<double>>& scores);

// "第3题" for a question named "3"; other names as they are.
QString QuestionLabel(const QString& question);

// The flags as the table shows them: "偏难；区分度低", empty for none.
QString FlagText(unsigned flags);

// The columns of the item table, in the dialog and in the report.
QStringList ItemTableHeader();
QStringList ItemTableRow(const ItemFigures& item);
// "Cronbach α = 0.81，测量标准误 SEM = 3.20" (KR-20 for right/wrong questions).
QString ReliabilityText(const ItemAnalysis& a);

// The rules and where they come from, for the note under the table.
QString ItemNote(const ItemAnalysis& a);

// One line for the conclusion naming the flagged questions.
QString ItemSentence(const ItemAnalysis& a);
// Where ItemSentence goes in text: in place of the last such line, or as a
// line of its own at the end.
SentencePlace PlaceItemSentence(const QString& text);
