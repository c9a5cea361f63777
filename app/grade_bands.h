#pragma once
// The five grade bands of a score out of any full marks: excellent from 90 %,
// good from 80 %, medium from 70 %, pass from 60 % of full marks, fail below.
#include <QString>

// The five grade bands in their fixed order.
enum class GradeBand { Excellent, Good, Medium, Pass, Fail };
constexpr int kBandCount = 5;
constexpr int kDefaultFullMarks = 100;
constexpr int kMinFullMarks = 1;
constexpr int kMaxFullMarks = 1000;

// The band of a score: rounded to a whole number r, halves to the even
// neighbour, then compared with the thresholds. r reaches a threshold t when
// r >= t, so a fractional threshold is reached from the next whole number:
// out of 75 the excellent band (67.5) starts at 68, and 67.5 itself rounds
// to 68. A rounded value outside 0 to full marks has no band (-1).
int BandOf(double score, int fullMarks = kDefaultFullMarks);

// The lower edge of a band as shown: 90 % of 150 is "135", of 75 "67.5".
// The fail band has none; its upper edge is the pass band's.
QString BandThresholdText(GradeBand band, int fullMarks);

// The result grid's label of a band: "优(90+)", "良(80-90)" ... out of 100.
QString BandLabel(GradeBand band, int fullMarks);
