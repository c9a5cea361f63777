#include "report_commands.h"

#include "main_window.h"

void MakeReport(TForm1&) {}
void PreviewReport(TForm1&) {}
void PrintReport(TForm1&) {}
