#pragma once
// The figures an exam-analysis report is judged by, beyond the five bands:
// highest, lowest, mean and median score, the spread, the pass and
// excellence rates, and the exam's difficulty and discrimination.
#include "grade_bands.h"

#include <QString>
#include <utility>
#include <vector>

struct ExamStatistics {
    int count = 0;
    double highest = 0, lowest = 0, median = 0;
    long double mean = 0;       // computed as the result grid's average
    long double deviation = 0;  // population standard deviation
    int fullMarks = kDefaultFullMarks;
    long double difficulty = 0; // mean / full marks
    // The top and bottom groups: each groupSize students, by score.
    int groupSize = 0;
    long double upperMean = 0, lowerMean = 0;
    long double discrimination = 0;  // (upperMean - lowerMean) / full marks
    // Counted in the bands: passed is every band above fail.
    int passCount = 0, excellentCount = 0;
    // passCount / count and excellentCount / count, in per cent.
    long double passRate = 0, excellentRate = 0;
};

// 27 % of the class, rounded, and at least one student. With one student
// both groups are that student.
int GroupSize(int count);

// The rates come from the band counts, never from the rounded shares.
ExamStatistics ComputeStatistics(const std::vector<double>& scores, int fullMarks = kDefaultFullMarks);

// 优秀 from 0.40, 良好 from 0.30, 尚可 from 0.20, else 差, judged on the
// two decimals shown.
QString DiscriminationReading(long double discrimination);

// The figures as the dialog lists them: label and text, "%2.2f" throughout.
std::vector<std::pair<QString, QString>> StatisticsRows(const ExamStatistics& s);

// How the top and bottom groups were formed, for the dialog.
QString GroupNote(const ExamStatistics& s);

// How the pass and excellence rates were counted, for the dialog.
QString RateNote(const ExamStatistics& s);

// One sentence with the figures, for the end of the conclusion.
QString ConclusionSentence(const ExamStatistics& s);

// text with its last line that is such a sentence replaced by sentence, or
// with sentence added as a line of its own when it holds none. start and
// length tell what was replaced (length 0: appended at start).
struct SentencePlace {
    qsizetype start = 0, length = 0;
    bool newLine = false;  // a line break goes before the sentence
};
SentencePlace PlaceConclusionSentence(const QString& text);
