#pragma once
// The menu commands that make, preview and print the report.
#include "class_data.h"
#include "report.h"

#include <vector>

class TForm1;

void MakeReport(TForm1& form);
void PreviewReport(TForm1& form);
void PrintReport(TForm1& form);

// What the make-document command fills the report with for a class that is
// not on screen: its description under name, the figures of scores (its
// filled rows), its histogram drawn in the window's report chart, and its
// conclusion. The chart is left showing that class; RedrawReportChart puts
// back the window's own.
ReportContent ClassReportContent(TForm1& form, const ClassData& data, const QString& name,
                                 const std::vector<double>& scores);
void RedrawReportChart(TForm1& form);
