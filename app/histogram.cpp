#include "histogram.h"

#include "main_window.h"

void FillHistograms(TForm1&) {}
void ClearHistograms(TForm1&) {}
