#pragma once
// The result grid's figures of one set of scores: the band counts, the
// total, the average and the percentages, as the grid shows them. The
// window's analysis, the grade comparison and every report of a grade read
// them here, so a class has the same figures wherever it is shown.
#include "grade_bands.h"

#include <QString>
#include <array>
#include <vector>

struct BandDistribution {
    std::array<int, kBandCount> counts{};
    int total = 0;
    QString averageText;                          // "%2.2f"
    std::array<QString, kBandCount> percentTexts;  // "%2.2f"; the fail band holds the remainder
    // The cell (col, row) of the result grid: counts in column 1 and
    // percentages in column 2 for rows 1-5, the total at (1,6), the
    // average at (1,7); other cells are empty.
    QString Cell(int col, int row) const;
    std::array<double, kBandCount> Counts() const;
};

// Scores outside 0 to full marks count in no band but in the total and sum,
// as in the window; callers refuse such scores first. scores must not be empty.
BandDistribution ComputeBandDistribution(const std::vector<double>& scores, int fullMarks);
