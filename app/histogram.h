#pragma once
// Draws the band counts of the last analysis in both charts.
class TForm1;

void FillHistograms(TForm1& form);
// Empties both charts' series; their axes keep their last settings.
void ClearHistograms(TForm1& form);
