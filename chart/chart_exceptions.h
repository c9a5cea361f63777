#pragma once
// Exceptions raised by the chart engine for invalid property values.
#include "exceptions.h"

MARKWISE_EXCEPTION(ChartException)
MARKWISE_EXCEPTION(AxisException)
MARKWISE_EXCEPTION(BarException)
