#pragma once
// The figures an exam-analysis report is judged by, beyond the five bands:
// highest, lowest, mean and median score, the spread, the pass and
// excellence rates, and the exam's difficulty and discrimination.
#include <QString>
#include <utility>
#include <vector>

struct ExamStatistics {
    int count = 0;
    double highest = 0, lowest = 0, median = 0;
    long double mean = 0;       // computed as the result grid's average
    long double deviation = 0;  // population standard deviation
    long double difficulty = 0; // mean / 100
    // The top and bottom groups: each groupSize students, by score.
    int groupSize = 0;
    long double upperMean = 0, lowerMean = 0;
    long double discrimination = 0;  // (upperMean - lowerMean) / 100
    // As the bands show them: the excellent share, and the share of the
    // four bands above fail.
    long double passRate = 0, excellentRate = 0;
};

// 27 % of the class, rounded, and at least one student. With one student
// both groups are that student.
int GroupSize(int count);

// scores must not be empty. The rates come from the result grid's band
// percentages and the fail band's count, so they agree with the bands.
ExamStatistics ComputeStatistics(const std::vector<double>& scores, long double excellentPercent,
                                 long double failPercent, int failCount);

// 优秀 from 0.40, 良好 from 0.30, 尚可 from 0.20, else 差, judged on the
// two decimals shown.
QString DiscriminationReading(long double discrimination);

// The figures as the dialog lists them: label and text, "%2.2f" throughout.
std::vector<std::pair<QString, QString>> StatisticsRows(const ExamStatistics& s);

// How the top and bottom groups were formed, for the dialog.
QString GroupNote(const ExamStatistics& s);

// One sentence with the figures, for the end of the conclusion.
QString ConclusionSentence(const ExamStatistics& s);
