#pragma once
// Makes TChart and TBarSeries known to window descriptions.
void RegisterChartComponents();
