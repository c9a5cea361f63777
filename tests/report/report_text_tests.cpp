#include "report.h"
#include <gtest/gtest.h>
