#include "chart_components.h"

#include "bar_series.h"
#include "chart.h"

void RegisterChartComponents() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterComponent<TChart>(QStringLiteral("TChart"));
    RegisterComponent<TBarSeries>(QStringLiteral("TBarSeries"));
}
