#pragma once
// The menu commands that make, preview and print the report.
class TForm1;

void MakeReport(TForm1& form);
void PreviewReport(TForm1& form);
void PrintReport(TForm1& form);
